#include "support/bancoteste.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// What the schema lets in and keeps out, checked as the application's kind
// of user through the default connection.
class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }
    void init() { QVERIFY(banco.esvaziar()); }
    void recusado_data();
    void recusado();
    void rollbackNaoDeixaLinhas();
    void caracteresDeQuatroBytes();

private:
    static bool insere(const QString &tabela, const QVariantList &valores)
    {
        QSqlQuery q;
        q.prepare(tabela == QLatin1String("categoria") ? QStringLiteral("INSERT INTO categoria (categoria) VALUES (?)")
                                                       : QStringLiteral("INSERT INTO gastos (data, valor, fornecedor, descricao) VALUES (?, ?, ?, ?)"));
        for (const QVariant &v : valores)
            q.addBindValue(v);
        return q.exec();
    }
    int linhas(const QString &tabela) const { return banco.valor(QStringLiteral("SELECT COUNT(*) FROM ") + tabela).toInt(); }

    BancoTeste banco {QStringLiteral("schema")};
};

void TstSchema::recusado_data()
{
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QVariantList>("aceita"); // inserted first, when given
    QTest::addColumn<QVariantList>("recusada");
    const QVariant nulo(QVariant::String);
    auto gasto = [](const QVariant &data, const QVariant &valor) { return QVariantList {data, valor, "Padaria", "pão"}; };
    QTest::newRow("name differs in case") << "categoria" << QVariantList {"Mercado"} << QVariantList {"MERCADO"};
    QTest::newRow("name with a trailing blank") << "categoria" << QVariantList {"Mercado"} << QVariantList {"Mercado "};
    QTest::newRow("blanks only") << "categoria" << QVariantList() << QVariantList {"   "};
    QTest::newRow("tab only") << "categoria" << QVariantList() << QVariantList {"\t"};
    QTest::newRow("name too long") << "categoria" << QVariantList() << QVariantList {QString(101, QLatin1Char('x'))};
    QTest::newRow("null date") << "gastos" << QVariantList() << gasto(nulo, "10.00");
    QTest::newRow("no date") << "gastos" << QVariantList() << gasto("", "10.00");
    QTest::newRow("lower-case r in amount") << "gastos" << QVariantList() << gasto("2024-03-05", "r5.00");
    QTest::newRow("null amount") << "gastos" << QVariantList() << gasto("2024-03-05", nulo);
}

void TstSchema::recusado()
{
    QFETCH(QString, tabela);
    QFETCH(QVariantList, aceita);
    QFETCH(QVariantList, recusada);
    if (!aceita.isEmpty())
        QVERIFY(insere(tabela, aceita));
    QVERIFY(!insere(tabela, recusada));
    QCOMPARE(linhas(tabela), aceita.isEmpty() ? 0 : 1);
}

void TstSchema::rollbackNaoDeixaLinhas()
{
    QVERIFY(QSqlDatabase::database().transaction());
    QVERIFY(insere(QStringLiteral("gastos"), {"2024-03-05", "12.50", "Padaria", QString()}));
    QVERIFY(QSqlDatabase::database().rollback());
    QCOMPARE(linhas(QStringLiteral("gastos")), 0);
}

void TstSchema::caracteresDeQuatroBytes()
{
    const QString texto = QStringLiteral("PIX para João 🎉 💸");
    QVERIFY(insere(QStringLiteral("gastos"), {"2024-03-05", "-3.50", texto, texto}));
    QSqlQuery q(QStringLiteral("SELECT fornecedor, descricao FROM gastos"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString() + q.value(1).toString(), texto + texto);
    // Names that differ only in their emoji are two categories.
    QVERIFY(insere(QStringLiteral("categoria"), {QStringLiteral("Lazer 🎉")}));
    QVERIFY(insere(QStringLiteral("categoria"), {QStringLiteral("Lazer 🎮")}));
}

QTEST_MAIN(TstSchema)
#include "tst_schema.moc"
