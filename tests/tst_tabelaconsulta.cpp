#include "database/tabelaconsulta.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QScrollBar>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList preencher(QTableWidget &grade, const QString &sql, const QStringList &rotulos = {"A", "B"})
{
    QSqlQuery consulta(sql);
    preencheTabelaComConsulta(rotulos, &consulta, &grade);
    return linhasDaGrade(&grade);
}

// 300 rows, every third supplier long enough to wrap: heights differ, and sorting by supplier
// brings only tall rows to the top.
const QString longas = QStringLiteral(
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
    "SELECT i, IF(i % 3 = 0, 'Supermercado Pão de Açúcar Matriz', 'Uber') FROM n");

} // namespace

// The shared query grid, filled from real statements.
class TstTabelaConsulta : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("tabelaconsulta")};

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }

    void preenchimento_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("tipos") << "SELECT CAST(1234.5 AS DECIMAL(13,2)), CAST(-1234567.891 AS DOUBLE), "
                                  "CAST(NULL AS DOUBLE), NULL, 7, 'São João', DATE('2025-03-15')"
                               << QStringList {"1234.50|-1234567.89|0.00||7|São João|2025-03-15"};
        QTest::newRow("mais colunas que rótulos") << "SELECT 1, 'b', 2.5, 4, 5, 6, 7, 8"
                                                  << QStringList {"1|b|2.50|4|5|6|7"};
        QTest::newRow("mais rótulos que colunas") << "SELECT 1" << QStringList {"1||||||"};
        QTest::newRow("sem linhas") << "SELECT 1 FROM DUAL WHERE FALSE" << QStringList();
        QTest::newRow("consulta que falhou") << "SELECT * FROM tabela_que_nao_existe" << QStringList();
    }

    // A grid filled before keeps nothing of it.
    void preenchimento()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, esperadas);
        QTableWidget grade;
        preencher(grade, QStringLiteral("SELECT 'antiga', 1, 2, 3, 4, 5, 6, 7, 8"));
        QCOMPARE(preencher(grade, sql, {"A", "B", "C", "D", "E", "F", "G"}), esperadas);
    }

    void ordenacao_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<Qt::SortOrder>("ordem");
        QTest::addColumn<QStringList>("esperada");
        const auto linhas = [](const QStringList &valores) {
            QStringList selects;
            for (const QString &valor : valores)
                selects << QStringLiteral("SELECT %1, 'registro %2'").arg(valor).arg(selects.size());
            return selects.join(QStringLiteral(" UNION ALL "));
        };
        QTest::newRow("decimal") << linhas({"CAST(100 AS DECIMAL(13,2))", "-2", "20.5", "NULL"})
                                 << Qt::AscendingOrder << QStringList {"-2.00", "0.00", "20.50", "100.00"};
        QTest::newRow("inteiro decrescente") << linhas({"9", "100", "30", "-1"})
                                             << Qt::DescendingOrder << QStringList {"100", "30", "9", "-1"};
        // As DATE_FORMAT(data, '%d/%m/%y') writes them: years 70 to 99 are 19xx, 00 to 69 20xx.
        QTest::newRow("data dd/mm/aa") << linhas({"'31/12/69'", "'10/01/25'", "'01/01/70'", "'02/01/25'",
                                                  "'31/12/24'", "'15/06/99'", "'02/01/00'"})
            << Qt::AscendingOrder << QStringList {"01/01/70", "15/06/99", "02/01/00", "31/12/24",
                                                  "02/01/25", "10/01/25", "31/12/69"};
        QTest::newRow("texto") << linhas({"'banco'", "'Zeta'", "'Açougue'", "'apple'"})
                               << Qt::AscendingOrder << QStringList {"Açougue", "Zeta", "apple", "banco"};
    }

    // Sorted by the user, then refilled sorted: each record stays one row.
    void ordenacao()
    {
        QFETCH(QString, sql);
        QFETCH(Qt::SortOrder, ordem);
        QFETCH(QStringList, esperada);
        QTableWidget grade;
        QStringList registros = preencher(grade, sql);
        grade.setSortingEnabled(true);
        grade.sortByColumn(0, ordem);
        for (int vez = 0; vez < 3; ++vez) {
            const QStringList linhas = vez ? preencher(grade, sql) : linhasDaGrade(&grade);
            QStringList coluna;
            for (const QString &linha : linhas)
                coluna << linha.section(QLatin1Char('|'), 0, 0);
            QCOMPARE(coluna, esperada);
            QCOMPARE(QSet<QString>(linhas.begin(), linhas.end()),
                     QSet<QString>(registros.begin(), registros.end()));
        }
    }

    void linhasNaVistaDimensionadas_data()
    {
        QTest::addColumn<bool>("visivelAoPreencher");
        QTest::addColumn<QString>("vista");
        for (const bool visivel : {false, true})
            for (const char *vista : {"no topo", "rolada ao meio", "rolada ao fim", "ordenada", "mais alta"})
                QTest::addRow("%s, %s", visivel ? "preenchida à vista" : "preenchida oculta", vista)
                    << visivel << QString::fromUtf8(vista);
    }

    // Rows are sized to their contents only as they come into view: whatever brings a row
    // into view must leave it as tall as its contents (the stretched last row aside).
    void linhasNaVistaDimensionadas()
    {
        QFETCH(bool, visivelAoPreencher);
        QFETCH(QString, vista);
        QTableWidget grade, referencia;
        for (QTableWidget *g : {&grade, &referencia}) {
            g->resize(400, 300);
            g->setVisible(visivelAoPreencher || g == &referencia);
            preencher(*g, longas);
            g->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&grade));
        QScrollBar *barra = grade.verticalScrollBar();
        if (vista.startsWith(QLatin1String("rolada")))
            barra->setValue(barra->maximum() / (vista.endsWith(QLatin1String("meio")) ? 2 : 1));
        for (QTableWidget *g : {&grade, &referencia}) {
            if (vista == QLatin1String("mais alta"))
                g->resize(400, 700);
            g->setSortingEnabled(vista == QLatin1String("ordenada"));
            g->sortByColumn(1, Qt::AscendingOrder);
        }
        referencia.resizeRowsToContents();
        const auto malDimensionadas = [&] {
            QList<int> linhas;
            const int ultima = grade.rowAt(grade.viewport()->height() - 1);
            for (int r = grade.rowAt(0); r >= 0 && r <= ultima && r < grade.rowCount() - 1; ++r)
                if (grade.rowHeight(r) != referencia.rowHeight(r))
                    linhas << r;
            return linhas;
        };
        QVERIFY(grade.rowAt(0) >= 0);
        QTRY_COMPARE(malDimensionadas(), QList<int>());
    }
};

QTEST_MAIN(TstTabelaConsulta)
#include "tst_tabelaconsulta.moc"
