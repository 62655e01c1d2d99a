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

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void mostraOsParametrosEmbutidos();
    void conectaComOsParametrosEmbutidos();
    void fechadoSemConectarDevolveHandleInvalido();
    void falhaDeixaDialogoAbertoComLinhaDeDiagnostico();

private:
    static QString status(BancodeDados &d) { return d.findChild<QLabel *>("label_status")->text(); }
    BancoTeste *banco = nullptr;
};

void TstBancodeDados::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("bancodedados"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    QVERIFY(banco->travarContaDoAplicativo(false));
}

void TstBancodeDados::cleanupTestCase()
{
    delete banco;
}

void TstBancodeDados::cleanup()
{
    QVERIFY(banco->travarContaDoAplicativo(false));
}

void TstBancodeDados::mostraOsParametrosEmbutidos()
{
    BancodeDados d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Dialog"));
    QCOMPARE(d.size(), QSize(468, 172));
    QCOMPARE(d.findChild<QLineEdit *>("lineEdit_host")->text(), Conexao::host());
    QCOMPARE(d.findChild<QLineEdit *>("lineEdit_bd")->text(), QStringLiteral("vestara_gastos"));
    QCOMPARE(d.findChild<QLineEdit *>("lineEdit_user")->text(), QStringLiteral("vestara_tilmo"));
    auto *senha = d.findChild<QLineEdit *>("lineEdit_senha");
    QCOMPARE(senha->text(), Conexao::senha());
    QCOMPARE(senha->echoMode(), QLineEdit::Password);
    QCOMPARE(status(d), QStringLiteral("Banco de dados desconectado"));
}

void TstBancodeDados::conectaComOsParametrosEmbutidos()
{
    CapturaDebug debug;
    BancodeDados d;
    // What the user types is ignored.
    for (auto *campo : d.findChildren<QLineEdit *>())
        campo->setText(QStringLiteral("outra coisa"));
    d.show();
    d.findChild<QPushButton *>("pushButton_bd")->click();

    QCOMPARE(status(d), QStringLiteral("Banco de dados conectado"));
    QVERIFY(!d.isVisible());
    const QSqlDatabase handle = d.readBD();
    QVERIFY(handle.isOpen());
    QCOMPARE(handle.connectionName(), QString::fromLatin1(QSqlDatabase::defaultConnection));
    QCOMPARE(handle.databaseName(), QStringLiteral("vestara_gastos"));
    QVERIFY(QSqlDatabase::database().isOpen());

    QSqlQuery q(QStringLiteral("SELECT @@character_set_client, CURRENT_USER()"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("utf8mb4"));
    QVERIFY(q.value(1).toString().startsWith(QStringLiteral("vestara_tilmo@")));
    QVERIFY(debug.linhas().isEmpty());
}

void TstBancodeDados::fechadoSemConectarDevolveHandleInvalido()
{
    BancodeDados d;
    d.show();
    d.close();
    QVERIFY(!d.readBD().isValid());
}

void TstBancodeDados::falhaDeixaDialogoAbertoComLinhaDeDiagnostico()
{
    QVERIFY(banco->travarContaDoAplicativo(true));
    CapturaDebug debug;
    BancodeDados d;
    d.show();
    auto *botao = d.findChild<QPushButton *>("pushButton_bd");
    for (int tentativa = 0; tentativa < 2; ++tentativa) {
        botao->click();
        QCOMPARE(status(d), QStringLiteral("Erro ao conectar Banco de dados"));
        QVERIFY(d.isVisible());
        QVERIFY(d.readBD().isValid());
        QVERIFY(!d.readBD().isOpen());
    }
    QCOMPARE(debug.linhas().size(), 2);
    for (const QString &linha : debug.linhas()) {
        QVERIFY2(linha.startsWith(QStringLiteral("Erro ao abrir o banco de dados: \"")), qPrintable(linha));
        QVERIFY2(linha.contains(QStringLiteral("locked")), qPrintable(linha));
        QVERIFY(!linha.contains(Conexao::senha()));
    }
}

QTEST_MAIN(TstBancodeDados)
#include "tst_bancodedados.moc"
