#include "database/bancodedados.h"
#include "database/conexao.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

// The connection dialog against the real local server, with the program's
// built-in parameters. It reads nothing from vestara_gastos.
class TstBancodeDados : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("bancodedados")};

    static QString texto(BancodeDados &d, const char *nome) { return d.findChild<QWidget *>(nome)->property("text").toString(); }

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }
    void cleanupTestCase() { QVERIFY(banco.travarContaDoAplicativo(false)); }

    // Shows the built-in parameters, the password masked; closed unused, no handle.
    void mostraOsParametrosEmbutidos()
    {
        BancodeDados d;
        QStringList textos;
        for (const char *nome : {"lineEdit_host", "lineEdit_bd", "lineEdit_user", "lineEdit_senha", "label_status"})
            textos << texto(d, nome);
        QCOMPARE(textos, QStringList({Conexao::host(), "vestara_gastos", "vestara_tilmo", Conexao::senha(),
                                      "Banco de dados desconectado"}));
        QCOMPARE(d.findChild<QLineEdit *>("lineEdit_senha")->echoMode(), QLineEdit::Password);
        d.show();
        d.close();
        QVERIFY(!d.readBD().isValid());
    }

    // Whatever the fields hold, the built-in parameters are used; a refusal
    // leaves the dialog open with a closed handle and one diagnostic line.
    void conectar_data()
    {
        QTest::addColumn<bool>("travada");
        QTest::newRow("conta liberada") << false;
        QTest::newRow("conta travada") << true;
    }
    void conectar()
    {
        QFETCH(bool, travada);
        QVERIFY(banco.travarContaDoAplicativo(travada));
        CapturaDebug debug;
        BancodeDados d;
        for (auto *campo : d.findChildren<QLineEdit *>())
            campo->setText(QStringLiteral("outra coisa"));
        d.show();
        d.findChild<QPushButton *>("pushButton_bd")->click();
        QCOMPARE(texto(d, "label_status"), travada ? "Erro ao conectar Banco de dados" : "Banco de dados conectado");
        QCOMPARE(d.isVisible(), travada);
        QCOMPARE(d.readBD().connectionName(), QString::fromLatin1(QSqlDatabase::defaultConnection));
        QCOMPARE(d.readBD().isOpen(), !travada);
        QCOMPARE(debug.linhas().size(), travada ? 1 : 0);
        if (travada) {
            const QString linha = debug.linhas().first();
            QVERIFY2(linha.startsWith("Erro ao abrir o banco de dados: \"") && linha.contains("locked") && !linha.contains(Conexao::senha()), qPrintable(linha));
            return;
        }
        QCOMPARE(d.readBD().databaseName(), QStringLiteral("vestara_gastos"));
        QSqlQuery q(QStringLiteral("SELECT @@character_set_client, CURRENT_USER()"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("utf8mb4"));
        QVERIFY(q.value(1).toString().startsWith(QStringLiteral("vestara_tilmo@")));
    }
};

QTEST_MAIN(TstBancodeDados)
#include "tst_bancodedados.moc"
