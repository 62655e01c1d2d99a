#include "database/tabelaconsulta.h"
#include "support/bancoteste.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

// The shared query grid, filled from real statements on a scratch database.
class TstTabelaConsulta : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void preenchimento_data();
    void preenchimento();
    void ordenaPeloValorMostrado_data();
    void ordenaPeloValorMostrado();
    void linhasNaVistaDimensionadas_data();
    void linhasNaVistaDimensionadas();

private:
    BancoTeste banco {QStringLiteral("tabelaconsulta")};
};

namespace {

const QString gastos = QStringLiteral("SELECT idGasto, DATE_FORMAT(data, '%d/%m/%y'), fornecedor, valor FROM gastos");
const QStringList rotulosDeGastos {"ID", "Data", "Fornecedor", "Valor"};

QList<QStringList> linhas(const QTableWidget &t)
{
    QList<QStringList> todas;
    for (int l = 0; l < t.rowCount(); ++l) {
        todas << QStringList();
        for (int c = 0; c < t.columnCount(); ++c)
            todas.last() << (t.item(l, c) ? t.item(l, c)->text() : QStringLiteral("<sem item>"));
    }
    return todas;
}

// 300 rows, every third supplier long enough to wrap: heights differ, and
// sorting by supplier brings only tall rows to the top.
const QString longas = QStringLiteral(
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
    "SELECT i, IF(i % 3 = 0, 'Supermercado Pão de Açúcar Matriz', 'Uber'), i * 1.5 FROM n");

void preencheMostrada(QTableWidget &t, bool visivelAoPreencher)
{
    t.resize(400, 300);
    t.setVisible(visivelAoPreencher);
    QSqlQuery q(longas);
    preencheTabelaComConsulta({"ID", "Fornecedor", "Valor"}, &q, &t);
    t.show();
}

// Rows in view not as tall as their contents (the stretched last row aside).
QList<int> malDimensionadas(const QTableWidget &t, QTableWidget &referencia)
{
    referencia.resizeRowsToContents();
    const int ultimaNaVista = t.rowAt(t.viewport()->height() - 1);
    const int ate = ultimaNaVista < 0 ? t.rowCount() - 2 : qMin(ultimaNaVista, t.rowCount() - 2);
    QList<int> erradas;
    for (int r = t.rowAt(0); r >= 0 && r <= ate; ++r)
        if (t.rowHeight(r) != referencia.rowHeight(r))
            erradas << r;
    return erradas;
}

} // namespace

void TstTabelaConsulta::initTestCase()
{
    QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
    // Text order differs from value order in every column, key order from all.
    QVERIFY(banco.executa(QStringLiteral(
        "INSERT INTO gastos (idGasto, data, fornecedor, valor) VALUES (9, '2025-01-02', 'banco', 100.00), "
        "(10, '2024-12-31', 'Açougue', 20.00), (100, '2025-11-15', 'Zeta', -1.00), (2, '2025-01-10', 'apple', -2.00), "
        "(30, '2023-06-30', 'Mercado', 3.50)")));
}

void TstTabelaConsulta::preenchimento_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("rotulos");
    QTest::addColumn<QList<QStringList>>("esperadas");
    QTest::addColumn<QList<int>>("alinhamentos");
    QTest::newRow("tipos") << "SELECT CAST(1234.5 AS DECIMAL(13,2)), CAST(-1234567.891 AS DOUBLE), CAST(NULL AS DOUBLE), "
                              "7, COUNT(*), 'São João', NULL, DATE('2025-03-15')"
                           << QStringList({"A", "B", "C", "D", "E", "F", "G", "H"})
                           << QList<QStringList>({{"1234.50", "-1234567.89", "0.00", "7", "1", "São João", "", "2025-03-15"}})
                           << QList<int>({130, 130, 130, 129, 129, 129, 129, 129});
    const QString tres = QStringLiteral("SELECT 1, 'b', CAST(2.5 AS DOUBLE)");
    QTest::newRow("menos rótulos") << tres << QStringList({"A", "B"}) << QList<QStringList>({{"1", "b"}})
                                   << QList<int>({129, 129});
    QTest::newRow("mais rótulos") << tres << QStringList({"A", "B", "C", "D", "E"})
                                  << QList<QStringList>({{"1", "b", "2.50", "", ""}}) << QList<int>({129, 129, 130, 129, 129});
    QTest::newRow("sem linhas") << "SELECT 1, 'x' FROM DUAL WHERE FALSE" << QStringList({"ID", "Nome"})
                                << QList<QStringList>() << QList<int>();
    QTest::newRow("consulta que falhou") << "SELECT * FROM tabela_que_nao_existe" << QStringList({"ID", "Nome"})
                                         << QList<QStringList>() << QList<int>();
}

// A full table refilled keeps only the new labels and rows, in plain items with text and alignment only.
void TstTabelaConsulta::preenchimento()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, rotulos);
    QFETCH(QList<QStringList>, esperadas);
    QFETCH(QList<int>, alinhamentos);
    QTableWidget t;
    QSqlQuery primeira(gastos);
    preencheTabelaComConsulta(rotulosDeGastos, &primeira, &t);
    QSqlQuery q(sql);
    QVERIFY(preencheTabelaComConsulta(rotulos, &q, &t));

    QCOMPARE(linhas(t), esperadas);
    QCOMPARE(t.columnCount(), rotulos.size());
    QVERIFY(t.horizontalHeader()->stretchLastSection());
    for (int c = 0; c < rotulos.size(); ++c)
        QCOMPARE(t.horizontalHeaderItem(c)->text(), rotulos.at(c));
    for (int c = 0; c < alinhamentos.size(); ++c) {
        const QVariant alinhado = t.item(0, c)->data(Qt::TextAlignmentRole);
        QVERIFY(t.item(0, c)->type() == QTableWidgetItem::Type && alinhado.type() == QVariant::Int && alinhado.toInt() == alinhamentos.at(c));
        QCOMPARE(t.model()->itemData(t.model()->index(0, c)).keys(), QList<int>({Qt::DisplayRole, Qt::TextAlignmentRole}));
    }
}

void TstTabelaConsulta::ordenaPeloValorMostrado_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("col");
    QTest::addColumn<Qt::SortOrder>("ordem");
    QTest::addColumn<QStringList>("esperado");
    QTest::newRow("valor") << gastos << 3 << Qt::AscendingOrder << QStringList({"-2.00", "-1.00", "3.50", "20.00", "100.00"});
    QTest::newRow("valor nulo") << "SELECT 1, CAST(NULL AS DOUBLE) UNION ALL SELECT 2, -1.5 UNION ALL SELECT 3, 0.25"
                                << 1 << Qt::AscendingOrder << QStringList({"-1.50", "0.00", "0.25"});
    QTest::newRow("chave decrescente") << gastos << 0 << Qt::DescendingOrder << QStringList({"100", "30", "10", "9", "2"});
    QTest::newRow("data dd/mm/yy") << gastos << 1 << Qt::AscendingOrder
                                   << QStringList({"30/06/23", "31/12/24", "02/01/25", "10/01/25", "15/11/25"});
    QTest::newRow("texto") << gastos << 2 << Qt::AscendingOrder << QStringList({"Açougue", "Mercado", "Zeta", "apple", "banco"});
}

// Sorted by a header click, then refilled sorted: each record stays one row.
void TstTabelaConsulta::ordenaPeloValorMostrado()
{
    QFETCH(QString, sql);
    QFETCH(int, col);
    QFETCH(Qt::SortOrder, ordem);
    QFETCH(QStringList, esperado);
    const auto coluna = [col](const QTableWidget &x) {
        QStringList c;
        for (const QStringList &l : linhas(x))
            c << l.at(col);
        return c;
    };
    const auto registros = [](const QTableWidget &x) { auto r = linhas(x); std::sort(r.begin(), r.end()); return r; };
    QTableWidget semOrdenacao, t;
    QSqlQuery referencia(sql);
    preencheTabelaComConsulta(rotulosDeGastos, &referencia, &semOrdenacao);
    QVERIFY(coluna(semOrdenacao) != esperado);

    for (int vez = 0; vez < 4; ++vez) {
        QSqlQuery q(sql);
        preencheTabelaComConsulta(rotulosDeGastos, &q, &t);
        if (vez == 0) {
            t.hideColumn(0);
            t.setSortingEnabled(true);
            t.sortByColumn(col, ordem);
        }
        QCOMPARE(coluna(t), esperado);
        QCOMPARE(registros(t), registros(semOrdenacao));
    }
}

void TstTabelaConsulta::linhasNaVistaDimensionadas_data()
{
    QTest::addColumn<bool>("visivelAoPreencher");
    QTest::addColumn<QString>("vista");
    for (const bool visivel : {false, true})
        for (const char *vista : {"no topo", "rolada ao meio", "rolada ao fim", "ordenada pelo fornecedor", "mais alta"})
            QTest::addRow("%s, %s", visivel ? "preenchida visível" : "preenchida antes de mostrar", vista)
                << visivel << QString::fromUtf8(vista);
}

// Rows are sized to their contents only as they come into view: whatever
// brings a row into view must leave it as tall as its contents.
void TstTabelaConsulta::linhasNaVistaDimensionadas()
{
    QFETCH(bool, visivelAoPreencher);
    QFETCH(QString, vista);
    QTableWidget t, referencia;
    preencheMostrada(t, visivelAoPreencher);
    preencheMostrada(referencia, true);
    QVERIFY(QTest::qWaitForWindowExposed(&t));

    if (vista.startsWith("rolada"))
        t.verticalScrollBar()->setValue(t.verticalScrollBar()->maximum() / (vista.endsWith("meio") ? 2 : 1));
    for (QTableWidget *tabela : {&t, &referencia}) {
        if (vista == "mais alta")
            tabela->resize(400, 700);
        if (vista == "ordenada pelo fornecedor") {
            tabela->setSortingEnabled(true);
            tabela->sortByColumn(1, Qt::AscendingOrder);
        }
    }
    QVERIFY(t.rowAt(0) >= 0);
    QTRY_COMPARE(malDimensionadas(t, referencia), QList<int>());
}

QTEST_MAIN(TstTabelaConsulta)
#include "tst_tabelaconsulta.moc"
