#include "database/conexao.h"
#include "support/bancoteste.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// The application's user may read and write the rows of its own database and
// do nothing else; its password shows up nowhere. Every statement here either
// is refused or changes no row, so the application's data stays untouched.
class TstPrivilegios : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void permitidoOuRecusado_data();
    void permitidoOuRecusado();
    void concessoesExatas();
    void senhaNaoApareceNosArgumentosDeProcessos();

private:
    static QSqlDatabase app() { return QSqlDatabase::database(QStringLiteral("app")); }
    BancoTeste *banco = nullptr;
};

void TstPrivilegios::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("privilegios"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    QSqlDatabase db = QSqlDatabase::addDatabase(Conexao::driver(), QStringLiteral("app"));
    db.setHostName(QStringLiteral("127.0.0.1"));
    db.setDatabaseName(Conexao::banco());
    db.setUserName(Conexao::usuario());
    db.setPassword(Conexao::senha());
    QVERIFY2(Conexao::abrir(db), qPrintable(db.lastError().text()));
}

void TstPrivilegios::cleanupTestCase()
{
    app().close();
    QSqlDatabase::removeDatabase(QStringLiteral("app"));
    delete banco;
}

void TstPrivilegios::permitidoOuRecusado_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("permitido");
    QTest::newRow("select") << "SELECT COUNT(*) FROM gastos JOIN categoria" << true;
    QTest::newRow("insert") << "INSERT INTO categoria (categoria) SELECT 'x' FROM DUAL WHERE FALSE" << true;
    QTest::newRow("update") << "UPDATE gastos SET idCategoria = NULL WHERE idGasto = -1" << true;
    QTest::newRow("delete") << "DELETE FROM categoria WHERE idCategoria = -1" << true;
    QTest::newRow("drop table") << "DROP TABLE gastos" << false;
    QTest::newRow("drop database") << "DROP DATABASE vestara_gastos" << false;
    QTest::newRow("alter table") << "ALTER TABLE gastos ADD COLUMN x INT" << false;
    QTest::newRow("create table") << "CREATE TABLE intrusa (id INT)" << false;
    QTest::newRow("create database") << "CREATE DATABASE intrusa" << false;
    QTest::newRow("truncate") << "TRUNCATE TABLE gastos" << false;
    QTest::newRow("create user") << "CREATE USER intruso IDENTIFIED BY 'x'" << false;
    QTest::newRow("grant") << "GRANT SELECT ON vestara_gastos.* TO 'vestara_tilmo'@'localhost'" << false;
    QTest::newRow("system tables") << "SELECT * FROM mysql.user" << false;
    QTest::newRow("read a file") << "SELECT LOAD_FILE('/etc/passwd') IS NOT NULL" << true;
    QTest::newRow("write a file") << "SELECT 1 INTO OUTFILE '/tmp/finara_intrusa'" << false;
}

void TstPrivilegios::permitidoOuRecusado()
{
    QFETCH(QString, sql);
    QFETCH(bool, permitido);
    QSqlQuery q(app());
    const bool ok = q.exec(sql);
    QVERIFY2(ok == permitido, qPrintable(q.lastError().text()));
    if (sql.startsWith(QLatin1String("SELECT LOAD_FILE"))) {
        // Allowed as a statement, but without the FILE privilege it reads nothing.
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }
}

void TstPrivilegios::concessoesExatas()
{
    QSqlQuery q(app());
    QVERIFY(q.exec(QStringLiteral("SHOW GRANTS")));
    QStringList concessoes;
    while (q.next())
        concessoes << q.value(0).toString().remove(QRegularExpression(QStringLiteral(" IDENTIFIED BY PASSWORD '[^']*'")));
    QCOMPARE(concessoes.size(), 2);
    QVERIFY2(concessoes.at(0).startsWith(QStringLiteral("GRANT USAGE ON *.* TO ")), qPrintable(concessoes.at(0)));
    QVERIFY2(concessoes.at(1).startsWith(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.* TO ")),
             qPrintable(concessoes.at(1)));
    QVERIFY(!concessoes.join(QLatin1Char('\n')).contains(Conexao::senha()));
}

void TstPrivilegios::senhaNaoApareceNosArgumentosDeProcessos()
{
    const QByteArray senha = Conexao::senha().toUtf8();
    int lidos = 0;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        ++lidos;
        QVERIFY2(!cmdline.readAll().contains(senha), qPrintable(pid));
    }
    QVERIFY(lidos > 1);
}

QTEST_MAIN(TstPrivilegios)
#include "tst_privilegios.moc"
