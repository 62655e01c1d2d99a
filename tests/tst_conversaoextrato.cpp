#include "import/conversaoextrato.h"

#include <QDate>
#include <QtTest>

// The amount and date conversions between a statement and gastos. Any date
// text, of the usual form or not, valid or not, gives what Qt's parser gives.
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
    QTest::addColumn<QString>("esperado"); // null: SQL NULL
    // A point before one or two final digits is a decimal point, any other one separates thousands
    // in a valid grouping or makes the amount unreadable (null).
    for (const auto &v : QList<QPair<const char *, const char *>> {
             {"R$ 1.234,56", "1234.56"}, {"r$ 5,00", "r5.00"}, {"R$\xC2\xA0" "129,90", "129.90"}, {"1.234", "1234"}, {"", ""},
             {"12.50", "12.50"}, {"-3.5", "-3.5"}, {"12.", nullptr}, {"1.23.45", nullptr}, {"1.5x", nullptr}})
        QTest::addRow("valor %s", v.first) << false << QString::fromUtf8(v.first) << QString::fromUtf8(v.second);
    QStringList datas {"5/3/2024", " 05/03/2024", "05-03-2024", "Data", ""}; // the others of the form DD/MM/YYYY follow
    for (const char *ano : {"0000", "0005", "1999", "2023", "2024", "9999"})
        for (int mes = 0; mes <= 13; ++mes)
            for (int dia = 0; dia <= 32; ++dia)
                datas << QString::asprintf("%02d/%02d/%s", dia, mes, ano);
    for (const QString &d : qAsConst(datas))
        QTest::addRow("data %s", qPrintable(d)) << true << d << QDate::fromString(d, QStringLiteral("dd/MM/yyyy")).toString(Qt::ISODate);
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
