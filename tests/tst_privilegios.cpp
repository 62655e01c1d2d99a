#include "database/conexao.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// The application's user may read and write the rows of its own database and do nothing
// else; its password shows up nowhere. No statement here changes the application's data.
class TstPrivilegios : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void permitidoOuRecusado_data();
    void permitidoOuRecusado();
    void concessoesExatas();
    void senhaNaoApareceNosArgumentosDeProcessos();

private:
    QSqlDatabase app;
};

void TstPrivilegios::initTestCase()
{
    app = QSqlDatabase::addDatabase(Conexao::driver(), QStringLiteral("app"));
    Conexao::configurar(app);
    QVERIFY2(Conexao::abrir(app), qPrintable(app.lastError().text()));
}

void TstPrivilegios::permitidoOuRecusado_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("permitido");
    QTest::newRow("select") << "SELECT COUNT(*) FROM gastos JOIN categoria WHERE FALSE" << true;
    QTest::newRow("update") << "UPDATE gastos SET idCategoria = NULL WHERE idGasto = -1" << true;
    QTest::newRow("drop table") << "DROP TABLE gastos" << false;
    QTest::newRow("grant") << "GRANT SELECT ON vestara_gastos.* TO 'vestara_tilmo'@'localhost'" << false;
    QTest::newRow("read a file") << "SELECT LOAD_FILE('/etc/passwd') IS NOT NULL" << true; // but reads nothing
}

void TstPrivilegios::permitidoOuRecusado()
{
    QFETCH(QString, sql);
    QFETCH(bool, permitido);
    QSqlQuery q(app);
    QVERIFY2(q.exec(sql) == permitido, qPrintable(q.lastError().text()));
    QVERIFY(!q.isSelect() || (q.next() && q.value(0).toInt() == 0)); // each SELECT permitted gives 0
}

void TstPrivilegios::concessoesExatas()
{
    QSqlQuery q(app);
    QVERIFY(q.exec(QStringLiteral("SHOW GRANTS")));
    QStringList concessoes;
    while (q.next()) {
        QVERIFY(!q.value(0).toString().contains(Conexao::senha()));
        concessoes << q.value(0).toString().remove(QRegularExpression(QStringLiteral(" TO \\S+( IDENTIFIED BY PASSWORD '[^']*')?")));
    }
    QCOMPARE(concessoes, (QStringList {"GRANT USAGE ON *.*", "GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.*"}));
}

void TstPrivilegios::senhaNaoApareceNosArgumentosDeProcessos()
{
    int lidos = 0;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && ++lidos > 0)
            QVERIFY2(!cmdline.readAll().contains(Conexao::senha().toUtf8()), qPrintable(pid));
    }
    QVERIFY(lidos > 1); // some processes were read
}

QTEST_MAIN(TstPrivilegios)
#include "tst_privilegios.moc"
