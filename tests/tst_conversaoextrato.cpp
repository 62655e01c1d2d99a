#include "import/conversaoextrato.h"

#include <QDate>
#include <QtTest>

// The amount and date conversions between a statement and gastos.
class TstConversaoExtrato : public QObject
{
    Q_OBJECT

private slots:
    void conversoes_data();
    void conversoes();
};

void TstConversaoExtrato::conversoes_data()
{
    QTest::addColumn<bool>("ehData");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado"); // null: SQL NULL, which the server refuses
    // A point before one or two final digits is a decimal point, any other separates thousands;
    // what the server would round without a word is refused, other junk left for it to refuse.
    const QList<QPair<const char *, const char *>> valores {
        {"R$ 1.234,56", "1234.56"}, {"R$\xC2\xA0" "129,90", "129.90"}, {"-0,01", "-0.01"}, {"", ""},
        {"12.50", "12.50"}, {"-3.5", "-3.5"}, {"1.234", "1234"}, {"12.", "12"}, {"1.23.45", "12345"},
        {"1,234.56", nullptr}, {"R$ 1.234,56024", nullptr}, {"1e-3", nullptr}, {"r$ 5,00", "r5.00"}};
    for (const auto &v : valores)
        QTest::addRow("valor %s", v.first) << false << QString::fromUtf8(v.first) << v.second;
    // Any date text, of the usual form or not, valid or not, gives what Qt's parser gives.
    QStringList datas {"5/3/2024", " 05/03/2024", "05-03-2024", "Data", ""};
    for (const char *ano : {"0000", "0005", "1999", "2023", "2024", "9999"})
        for (int mes = 0; mes <= 13; ++mes)
            for (int dia = 0; dia <= 32; ++dia)
                datas << QString::asprintf("%02d/%02d/%s", dia, mes, ano);
    for (const QString &data : qAsConst(datas))
        QTest::addRow("data %s", qPrintable(data)) << true << data
            << QDate::fromString(data, QStringLiteral("dd/MM/yyyy")).toString(Qt::ISODate);
}

void TstConversaoExtrato::conversoes()
{
    QFETCH(bool, ehData);
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    const QString convertido = ehData ? dataParaBanco(texto) : valorParaBanco(texto);
    QCOMPARE(convertido, esperado);
    QCOMPARE(convertido.isNull(), esperado.isNull()); // NULL and '' reach the server differently
}

QTEST_APPLESS_MAIN(TstConversaoExtrato)
#include "tst_conversaoextrato.moc"
