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
    void dataConcordaComOParserDoQt();
};

void TstConversaoExtrato::conversoes_data()
{
    QTest::addColumn<bool>("ehData");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado"); // null: SQL NULL

    const QList<QPair<const char *, const char *>> valores {
        {"R$ 1.234,56", "1234.56"}, {"-45,90", "-45.90"}, {"1 000,00", "1000.00"},
        {"r$ 5,00", "r5.00"}, {"1.234", "1234"}, {"1.234.567", "1234567"},
        {"R$\xC2\xA0" "129,90", "129.90"}, {"1.50,00", "150.00"},
        // A point before one or two final digits is a decimal point.
        {"12.50", "12.50"}, {"R$ 12.50", "12.50"}, {"-3.5", "-3.5"}, {".5", ".5"},
        {"1.2345", "12345"}, {"12.", "12"}, {"1.23.45", "12345"}, {"1.5x", "15x"}, {"", ""},
    };
    for (const auto &v : valores)
        QTest::addRow("valor %s", v.first) << false << QString::fromUtf8(v.first) << QString::fromUtf8(v.second);

    const QList<QPair<const char *, const char *>> datas {
        {"05/03/2024", "2024-03-05"}, {"29/02/2024", "2024-02-29"}, {"05/03/0005", "0005-03-05"},
        {"29/02/2023", nullptr}, {"31/04/2026", nullptr}, {"05/03/24", nullptr}, {"5/3/2024", nullptr},
        {" 05/03/2024", nullptr}, {"05-03-2024", nullptr}, {"Data", nullptr}, {"", nullptr},
    };
    for (const auto &d : datas)
        QTest::addRow("data %s", d.first) << true << QString::fromUtf8(d.first) << QString::fromLatin1(d.second);
}

void TstConversaoExtrato::conversoes()
{
    QFETCH(bool, ehData);
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    const QString convertido = ehData ? dataParaBanco(texto) : valorParaBanco(texto);
    QCOMPARE(convertido, esperado);
    // NULL and '' reach the server differently.
    QCOMPARE(convertido.isNull(), esperado.isNull());
}

// Every text of the form DD/MM/YYYY, valid or not, gives what Qt's own
// parser gives.
void TstConversaoExtrato::dataConcordaComOParserDoQt()
{
    for (const char *ano : {"0000", "0005", "1999", "2023", "2024", "9999"}) {
        for (int mes = 0; mes <= 13; ++mes) {
            for (int dia = 0; dia <= 32; ++dia) {
                const QString texto = QStringLiteral("%1/%2/%3").arg(dia, 2, 10, QLatin1Char('0'))
                                          .arg(mes, 2, 10, QLatin1Char('0')).arg(QLatin1String(ano));
                const QDate doQt = QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
                QCOMPARE(dataParaBanco(texto), doQt.toString(QStringLiteral("yyyy-MM-dd")));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TstConversaoExtrato)
#include "tst_conversaoextrato.moc"
