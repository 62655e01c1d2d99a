#include "database/bancodedados.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QTcpServer>
#include <QtTest>

// The throwaway server as scripts/db-server starts it: who reaches it, a frozen server, backups.
// Shell commands get the data directory as $1, db-server as $2 and a backup file as $3.
class TstServidor : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("servidor")};
    const QString dados = qEnvironmentVariable("FINARA_DATA_DIR");

    QStringList argumentos(const QString &comando) const
    {
        return {"-c", comando, "sh", dados, FINARA_DB_SERVER, dados + "/c.gz"};
    }
    int sh(const QString &comando) const { return QProcess::execute("sh", argumentos(comando)); }
    QString somas() const
    {
        QSqlQuery q(banco.admin());
        q.exec("CHECKSUM TABLE vestara_gastos.gastos, vestara_gastos.categoria");
        const QString gastos = q.next() ? q.value(1).toString() : QString();
        return q.next() ? gastos + ' ' + q.value(1).toString() : QString();
    }
    static QString conectar(BancodeDados &d)
    {
        RespostaModal resposta; // a refusal says why in a box
        QMetaObject::invokeMethod(&d, "on_pushButton_bd_clicked");
        return d.findChild<QObject *>("label_status")->property("text").toString();
    }

private slots:
    void initTestCase() { QVERIFY2(banco.pronto() && !dados.isEmpty(), qPrintable(banco.erro())); }

    // Each command succeeds only on the evidence that its fault is absent: a refusal in the
    // words of the tool that refused, never an exit code a missing tool would also give.
    void falhaNaoSeReproduz_data()
    {
        QTest::addColumn<QString>("comando");
        const QString root = "mariadb --no-defaults -N -S $1/mariadb/mysqld.sock -e ";
        QTest::newRow("root pela rede") << "mariadb --no-defaults -h127.0.0.1 -uroot -e 'SELECT 1' 2>&1 "
                                           "| grep -q \"Can't connect to server on '127.0.0.1'\"";
        QTest::newRow("outra conta lê os dados") << "setpriv --reuid=65534 --regid=65534 --clear-groups "
                                                    "cat $1/mariadb/ibdata1 2>&1 | grep -q 'Permission denied'";
        QTest::newRow("OUTFILE nos dados")
            << root + "\"SELECT 1 INTO OUTFILE '$1/mariadb/x'\" 2>&1 | grep -q -- --secure-file-priv";
        QTest::newRow("servidor como root")
            << "dono=$(stat -c %U /proc/$(cat $1/mariadb/mysqld.pid)) && [ -n \"$dono\" ] && [ \"$dono\" != root ]";
        QTest::newRow("temporários fora dos dados") << root + "'SELECT @@tmpdir' | grep -q ^$1/";
    }
    void falhaNaoSeReproduz()
    {
        QFETCH(QString, comando);
        QCOMPARE(sh(comando), 0);
    }

    // Whoever holds 127.0.0.1:3306 gets nothing; a frozen server ends in the window's error.
    void impostorEServidorCongelado()
    {
        QTcpServer impostor;
        QVERIFY(impostor.listen(QHostAddress::LocalHost, 3306));
        BancodeDados d;
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
        QVERIFY(!impostor.waitForNewConnection(200));
        QCOMPARE(sh("kill -STOP $(cat $1/mariadb/mysqld.pid)"), 0);
        const bool respondeu = QSqlQuery(d.readBD()).exec("SELECT 1");
        const QString aoReconectar = conectar(d);
        sh("kill -CONT $(cat $1/mariadb/mysqld.pid)");
        QVERIFY(!respondeu);
        QCOMPARE(aoReconectar, QStringLiteral("Erro ao conectar Banco de dados"));
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
    }

    void restauracao_data()
    {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<bool>("aceita");
        QTest::newRow("cópia íntegra") << "$2 backup $3" << true;
        // Taken by start before it upgrades a database that lacks the later tables.
        QTest::newRow("cópia de esquema anterior") << "mariadb --no-defaults -S $1/mariadb/mysqld.sock -e "
            "'DROP TABLE vestara_gastos.regra, vestara_gastos.orcamento' && rm -f $1/*/*.sha256 $1/backups/* "
            "&& $2 backup $1/backups/finara-0.sql.gz && $2 start && cp $1/backups/finara-2* $3" << true;
        QTest::newRow("cópia cortada") << "$2 backup $1/x && zcat $1/x | head | gzip > $3" << false;
        QTest::newRow("outro tipo de arquivo") << "gzip -c /etc/services > $3" << false;
        // A file's own statements only: no shell, no file of ours, no other database. The shell
        // command takes the place of the dump tool's first line, which turns the sandbox on.
        QTest::newRow("comando do shell") << R"($2 backup $1/x && (printf '\\! touch %s\n' $1/tocado && )"
            R"(zcat $1/x | sed 1d) | gzip > $3)" << false;
        QTest::newRow("arquivo lido pelo cliente") << "$2 backup $1/x && zcat $1/x | sed '$i LOAD DATA "
            "LOCAL INFILE \"/etc/hostname\" INTO TABLE categoria (categoria);' | gzip > $3" << false;
        QTest::newRow("cópia que troca de banco") << "$2 backup $1/x && zcat $1/x | sed '$i "
            "USE`vestara_gastos`; INSERT gastos (data, valor) VALUES (CURDATE(), 1);' | gzip > $3" << false;
    }
    // Backed up, emptied and restored, every row is back; a bad file changes nothing.
    void restauracao()
    {
        QFETCH(QString, preparo);
        QFETCH(bool, aceita);
        QVERIFY(banco.executa("REPLACE vestara_gastos.categoria VALUES (7, 'Lazer 🎉')"));
        QVERIFY(banco.executa("INSERT vestara_gastos.gastos (idGasto, data, fornecedor, "
                              "valor, descricao, idCategoria) VALUES (NULL, '2026-03-05', 'Loja Ñ', "
                              "12.34, 'pão', 7), (NULL, '1926-01-31', NULL, -0.01, NULL, NULL)"));
        const QString cheio = somas();
        QCOMPARE(sh(preparo), 0);
        QVERIFY(banco.executa("DELETE FROM vestara_gastos.gastos"));
        QVERIFY(banco.executa("DELETE FROM vestara_gastos.categoria"));
        QCOMPARE(sh("$2 restore $3 --yes") == 0, aceita);
        QCOMPARE(somas(), aceita ? cheio : QStringLiteral("0 0")); // the tables stay empty
        QVERIFY(!QFile::exists(dados + "/tocado"));
        BancodeDados d; // the restored database is usable at once, whatever its schema was
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
        QVERIFY(QSqlQuery(d.readBD()).exec("SELECT * FROM regra, orcamento"));
    }

    // An import still open when the restore begins fails as a whole instead of
    // committing into tables that are about to be replaced; the account gets back in.
    void restauracaoDuranteImportacao()
    {
        QVERIFY(banco.executa("REPLACE vestara_gastos.categoria VALUES (8, 'Casa')"));
        QCOMPARE(sh("$2 backup $3"), 0);
        const QString copia = somas();
        QVERIFY(banco.executa("DELETE FROM vestara_gastos.categoria"));
        BancodeDados d;
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
        QSqlDatabase importacao = d.readBD();
        QVERIFY(importacao.transaction());
        QVERIFY(QSqlQuery(importacao).exec("INSERT gastos (data, valor) VALUES (CURDATE(), 5)"));
        QProcess restauro;
        restauro.setProcessChannelMode(QProcess::ForwardedChannels);
        restauro.start("sh", argumentos("$2 restore $3 --yes"));
        const bool terminou = restauro.waitForFinished(20000); // not if it waits for this commit
        QVERIFY(!importacao.commit());
        QVERIFY(terminou && restauro.exitCode() == 0);
        QCOMPARE(somas(), copia);
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
    }
};

QTEST_MAIN(TstServidor)
#include "tst_servidor.moc"
