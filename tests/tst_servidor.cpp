#include "database/bancodedados.h"
#include "support/bancoteste.h"

#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

#include <csignal>

// The throwaway server as scripts/db-server starts it: who reaches it, a frozen server and
// backups. Shell commands get the data directory as $1, the socket as $2, db-server as $3
// and a scratch file as $4 (paths without spaces).
class TstServidor : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("servidor")};
    const QString dados = qEnvironmentVariable("FINARA_DATA_DIR");

    int sh(const QString &comando) const
    {
        return QProcess::execute("sh", {"-c", comando, "sh", dados, BancoTeste::socket(),
                                        FINARA_DB_SERVER, dados + "/copia.sql.gz"});
    }
    QString somas() const
    {
        QSqlQuery q("CHECKSUM TABLE vestara_gastos.gastos, vestara_gastos.categoria", banco.admin());
        QString texto;
        while (q.next())
            texto += q.value(1).toString() + ' ';
        return texto;
    }
    static QString conectar(BancodeDados &d)
    {
        d.findChild<QPushButton *>("pushButton_bd")->click();
        return d.findChild<QLabel *>("label_status")->text();
    }

private slots:
    void initTestCase() { QVERIFY2(banco.pronto() && !dados.isEmpty(), qPrintable(banco.erro())); }

    void quemAlcanca_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<bool>("permitido");
        const QString outraConta = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        const QString root = "mariadb --no-defaults -N -S $2 -e ";
        QTest::newRow("root pelo socket") << root + "'SELECT 1'" << true;
        QTest::newRow("root pela rede") << "mariadb --no-defaults -h127.0.0.1 -uroot" << false;
        QTest::newRow("outra conta chega ao socket") << outraConta + "test -e $2" << false;
        QTest::newRow("outra conta lê os dados") << outraConta + "cat $1/mariadb/ibdata1" << false;
        QTest::newRow("OUTFILE no lugar próprio") << root + "\"SELECT 1 INTO OUTFILE '$1/mariadb/files/x'\"" << true;
        QTest::newRow("OUTFILE fora dele") << root + "\"SELECT 1 INTO OUTFILE '$1/x'\"" << false;
        QTest::newRow("servidor como root") << "test $(stat -c %u /proc/$(cat $1/mariadb/*.pid)) = 0" << false;
        QTest::newRow("temporários fora dos dados") << root + "'SELECT @@tmpdir' | grep -v ^$1/" << false;
    }
    void quemAlcanca()
    {
        QFETCH(QString, comando);
        QFETCH(bool, permitido);
        QCOMPARE(sh(comando) == 0, permitido);
    }

    // Whoever holds 127.0.0.1:3306 gets nothing; a frozen server ends a statement and
    // "Conectar" in the window's error within the timeouts, and thawed it connects again.
    void impostorEServidorCongelado()
    {
        QTcpServer impostor;
        QVERIFY(impostor.listen(QHostAddress::LocalHost, 3306));
        BancodeDados d;
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
        QVERIFY(!impostor.waitForNewConnection(200));
        QFile arquivoPid(dados + "/mariadb/mysqld.pid");
        const pid_t pid = arquivoPid.open(QIODevice::ReadOnly) ? arquivoPid.readAll().toInt() : 0;
        QVERIFY(pid > 0 && ::kill(pid, SIGSTOP) == 0);
        QElapsedTimer relogio;
        relogio.start();
        const bool respondeu = QSqlQuery(d.readBD()).exec("SELECT 1");
        const QString aoReconectar = conectar(d);
        ::kill(pid, SIGCONT);
        QVERIFY(!respondeu && relogio.elapsed() < 45000);
        QCOMPARE(aoReconectar, QStringLiteral("Erro ao conectar Banco de dados"));
        QCOMPARE(conectar(d), QStringLiteral("Banco de dados conectado"));
    }

    void restauracao_data()
    {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<bool>("aceita");
        const QString copia = "$3 backup $4 && ";
        QTest::newRow("cópia íntegra") << copia + "true" << true;
        QTest::newRow("cópia de antes de atualizar o esquema")
            << "rm -f $1/backups/* $1/mariadb/finara-schema.sha256 && touch $1/backups/finara-0.sql.gz"
               " && $3 start && cp $(ls $1/backups/finara-* | tail -n 1) $4" << true;
        QTest::newRow("cópia cortada") << copia + "truncate -s -100 $4" << false;
        QTest::newRow("dump sem o fim") << copia + "zcat $4 | head -n -3 | gzip > $1/x; mv $1/x $4" << false;
        QTest::newRow("outro tipo de arquivo") << "gzip -c /etc/services > $4" << false;
    }
    // Backed up, emptied and restored, every row is back; a bad file changes nothing.
    void restauracao()
    {
        QFETCH(QString, preparo);
        QFETCH(bool, aceita);
        for (const char *sql : {"DELETE FROM vestara_gastos.gastos",
                                "REPLACE vestara_gastos.categoria VALUES (7, 'Lazer 🎉')",
                                "INSERT vestara_gastos.gastos VALUES (NULL, '2026-03-05', 'Loja Ñ', 12.34, "
                                "'pão; \\'x\\'', 7), (NULL, '1926-01-31', NULL, -0.01, NULL, NULL)"})
            QVERIFY(banco.executa(QString::fromUtf8(sql)));
        const QString cheio = somas();
        QCOMPARE(sh(preparo), 0);
        QVERIFY(banco.executa("DELETE FROM vestara_gastos.gastos"));
        const QString vazio = somas();
        QCOMPARE(sh("$3 restore $4 --yes") == 0, aceita);
        QCOMPARE(somas(), aceita ? cheio : vazio);
    }
};

QTEST_MAIN(TstServidor)
#include "tst_servidor.moc"
