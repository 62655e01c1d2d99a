#include "support/bancoteste.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// What the schema lets in and keeps out, checked as the application's kind
// of user through the default connection.
class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void categoriaRecusada_data();
    void categoriaRecusada();
    void gastoRecusado_data();
    void gastoRecusado();
    void rollbackNaoDeixaLinhas();
    void caracteresDeQuatroBytes();

private:
    static bool insere(const QString &sql, const QVariantList &valores, QString *erro = nullptr);
    BancoTeste *banco = nullptr;
};

void TstSchema::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("schema"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
}

void TstSchema::cleanupTestCase()
{
    delete banco;
}

void TstSchema::init()
{
    QVERIFY(banco->esvaziar());
}

bool TstSchema::insere(const QString &sql, const QVariantList &valores, QString *erro)
{
    QSqlQuery q;
    q.prepare(sql);
    for (const QVariant &v : valores)
        q.addBindValue(v);
    const bool ok = q.exec();
    if (erro)
        *erro = q.lastError().text();
    return ok;
}

void TstSchema::categoriaRecusada_data()
{
    QTest::addColumn<QString>("primeira");
    QTest::addColumn<QString>("segunda");
    QTest::newRow("same name") << "Mercado" << "Mercado";
    QTest::newRow("differs in case") << "Mercado" << "MERCADO";
    QTest::newRow("trailing blank") << "Mercado" << "Mercado ";
    QTest::newRow("empty") << QString() << "";
    QTest::newRow("blanks only") << QString() << "   ";
    QTest::newRow("tab only") << QString() << "\t";
    QTest::newRow("too long") << QString() << QString(101, QLatin1Char('x'));
}

void TstSchema::categoriaRecusada()
{
    QFETCH(QString, primeira);
    QFETCH(QString, segunda);
    const QString insert = QStringLiteral("INSERT INTO categoria (categoria) VALUES (?)");
    if (!primeira.isNull())
        QVERIFY(insere(insert, {primeira}));
    QString erro;
    QVERIFY(!insere(insert, {segunda}, &erro));
    QVERIFY(!erro.isEmpty());
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM categoria")).toInt(),
             primeira.isNull() ? 0 : 1);
}

void TstSchema::gastoRecusado_data()
{
    QTest::addColumn<QVariant>("data");
    QTest::addColumn<QVariant>("valor");
    QTest::newRow("null date") << QVariant(QVariant::String) << QVariant("10.00");
    QTest::newRow("no date") << QVariant("") << QVariant("10.00");
    QTest::newRow("lower-case r in amount") << QVariant("2024-03-05") << QVariant("r5.00");
    QTest::newRow("empty amount") << QVariant("2024-03-05") << QVariant("");
    QTest::newRow("null amount") << QVariant("2024-03-05") << QVariant(QVariant::String);
}

void TstSchema::gastoRecusado()
{
    QFETCH(QVariant, data);
    QFETCH(QVariant, valor);
    QVERIFY(!insere(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao) VALUES (?, ?, ?, ?)"),
                    {data, QStringLiteral("Padaria"), valor, QStringLiteral("pão")}));
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM gastos")).toInt(), 0);
}

void TstSchema::rollbackNaoDeixaLinhas()
{
    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QVERIFY(insere(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao) VALUES (?, ?, ?, ?)"),
                   {QStringLiteral("2024-03-05"), QStringLiteral("Padaria"), QStringLiteral("12.50"), QString()}));
    QVERIFY(db.rollback());
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM gastos")).toInt(), 0);
}

void TstSchema::caracteresDeQuatroBytes()
{
    const QString texto = QStringLiteral("PIX para João 🎉 💸");
    QVERIFY(insere(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao) VALUES (?, ?, ?, ?)"),
                   {QStringLiteral("2024-03-05"), texto, QStringLiteral("-3.50"), texto}));
    QSqlQuery q(QStringLiteral("SELECT fornecedor, descricao, valor FROM gastos"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), texto);
    QCOMPARE(q.value(1).toString(), texto);
    QCOMPARE(q.value(2).toDouble(), -3.5);

    // Names that differ only in their emoji are two categories.
    const QString insert = QStringLiteral("INSERT INTO categoria (categoria) VALUES (?)");
    QVERIFY(insere(insert, {QStringLiteral("Lazer 🎉")}));
    QVERIFY(insere(insert, {QStringLiteral("Lazer 🎮")}));
}

QTEST_MAIN(TstSchema)
#include "tst_schema.moc"
