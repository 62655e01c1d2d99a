#include "database/tabelaconsulta.h"
#include "support/bancoteste.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

// The shared query grid, filled from real statements on a scratch database.
class TstTabelaConsulta : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void celula_data();
    void celula();
    void rotulosEColunasDoResultado_data();
    void rotulosEColunasDoResultado();
    void novoPreenchimentoSubstitui_data();
    void novoPreenchimentoSubstitui();
    void ordenaPeloValorMostrado_data();
    void ordenaPeloValorMostrado();
    void linhasNaVistaDimensionadas_data();
    void linhasNaVistaDimensionadas();

private:
    BancoTeste *banco = nullptr;
};

namespace {

QSqlQuery executada(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql))
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

const QString gastos = QStringLiteral(
    "SELECT idGasto, DATE_FORMAT(data, '%d/%m/%y'), fornecedor, valor FROM gastos");

// Each row's cell texts, top to bottom.
QList<QStringList> linhas(const QTableWidget &t)
{
    QList<QStringList> todas;
    for (int l = 0; l < t.rowCount(); ++l) {
        QStringList textos;
        for (int c = 0; c < t.columnCount(); ++c)
            textos << (t.item(l, c) ? t.item(l, c)->text() : QStringLiteral("<sem item>"));
        todas << textos;
    }
    return todas;
}

QStringList coluna(const QTableWidget &t, int c)
{
    QStringList textos;
    for (const QStringList &linha : linhas(t))
        textos << linha.at(c);
    return textos;
}

// The records whatever their order.
QList<QStringList> registros(const QTableWidget &t)
{
    QList<QStringList> todas = linhas(t);
    std::sort(todas.begin(), todas.end());
    return todas;
}

// Three hundred rows; every third supplier is too long for its column and
// wraps, so rows differ in height, and sorting by supplier brings only tall
// ones to the top.
const QString longas = QStringLiteral(
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
    "SELECT i, IF(i % 3 = 0, 'Supermercado Pão de Açúcar Matriz', 'Uber'), i * 1.5 FROM n");

void preencheMostrada(QTableWidget &t, bool visivelAoPreencher)
{
    t.resize(400, 300);
    if (visivelAoPreencher)
        t.show();
    QSqlQuery q = executada(longas);
    preencheTabelaComConsulta({"ID", "Fornecedor", "Valor"}, &q, &t);
    t.show();
}

// Rows in view whose height is not the one sizing every row to its contents
// gives (the stretched last row aside).
QList<int> malDimensionadas(const QTableWidget &t, QTableWidget &referencia)
{
    referencia.resizeRowsToContents();
    const int ultimaNaVista = t.rowAt(t.viewport()->height() - 1);
    const int ate = ultimaNaVista < 0 ? t.rowCount() - 2 : qMin(ultimaNaVista, t.rowCount() - 2);
    QList<int> erradas;
    for (int r = t.rowAt(0); r >= 0 && r <= ate; ++r) {
        if (t.rowHeight(r) != referencia.rowHeight(r))
            erradas << r;
    }
    return erradas;
}

enum class Vista { Topo, Meio, Fim, Ordenada, Maior };

} // namespace

Q_DECLARE_METATYPE(Vista)

void TstTabelaConsulta::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("tabelaconsulta"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    // Keys, dates, names and amounts whose text order differs from their
    // value order, and whose order by key differs from the others.
    QVERIFY(banco->executa(QStringLiteral(
        "INSERT INTO gastos (idGasto, data, fornecedor, valor) VALUES "
        "(9, '2025-01-02', 'banco', 100.00), (10, '2024-12-31', 'Açougue', 20.00), "
        "(100, '2025-11-15', 'Zeta', -1.00), (2, '2025-01-10', 'apple', -2.00), "
        "(30, '2023-06-30', 'Mercado', 3.50)")));
}

void TstTabelaConsulta::cleanupTestCase()
{
    delete banco;
}

void TstTabelaConsulta::celula_data()
{
    QTest::addColumn<QString>("expressao");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("alinhamento");
    QTest::newRow("decimal") << "CAST(1234.5 AS DECIMAL(13,2))" << "1234.50" << 130;
    QTest::newRow("soma de decimais") << "(SELECT SUM(valor) FROM gastos)" << "120.50" << 130;
    QTest::newRow("double sem agrupamento") << "CAST(-1234567.891 AS DOUBLE)" << "-1234567.89" << 130;
    QTest::newRow("double nulo") << "CAST(NULL AS DOUBLE)" << "0.00" << 130;
    QTest::newRow("inteiro") << "7" << "7" << 129;
    QTest::newRow("inteiro longo") << "COUNT(*)" << "1" << 129;
    QTest::newRow("texto") << "'São João'" << "São João" << 129;
    QTest::newRow("nulo") << "NULL" << "" << 129;
    QTest::newRow("data") << "DATE('2025-03-15')" << "2025-03-15" << 129;
}

void TstTabelaConsulta::celula()
{
    QFETCH(QString, expressao);
    QFETCH(QString, texto);
    QFETCH(int, alinhamento);
    QSqlQuery q = executada(QStringLiteral("SELECT ") + expressao);
    QTableWidget t;
    QVERIFY(preencheTabelaComConsulta({"A"}, &q, &t));

    QCOMPARE(t.rowCount(), 1);
    const QTableWidgetItem *item = t.item(0, 0);
    QCOMPARE(item->type(), int(QTableWidgetItem::Type));
    QCOMPARE(item->text(), texto);
    const QVariant alinhado = item->data(Qt::TextAlignmentRole);
    QCOMPARE(alinhado.type(), QVariant::Int);
    QCOMPARE(alinhado.toInt(), alinhamento);
    const QList<int> papeis = t.model()->itemData(t.model()->index(0, 0)).keys();
    QCOMPARE(papeis, QList<int>({Qt::DisplayRole, Qt::TextAlignmentRole}));
}

void TstTabelaConsulta::rotulosEColunasDoResultado_data()
{
    QTest::addColumn<QStringList>("rotulos");
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<QList<int>>("alinhamentos");
    QTest::newRow("menos rótulos") << QStringList({"A", "B"}) << QStringList({"1", "b"})
                                   << QList<int>({129, 129});
    QTest::newRow("mais rótulos") << QStringList({"A", "B", "C", "D", "E"})
                                  << QStringList({"1", "b", "2.50", "", ""})
                                  << QList<int>({129, 129, 130, 129, 129});
}

void TstTabelaConsulta::rotulosEColunasDoResultado()
{
    QFETCH(QStringList, rotulos);
    QFETCH(QStringList, textos);
    QFETCH(QList<int>, alinhamentos);
    QSqlQuery q = executada(QStringLiteral("SELECT 1, 'b', CAST(2.5 AS DOUBLE)"));
    QTableWidget t;
    preencheTabelaComConsulta(rotulos, &q, &t);

    QCOMPARE(linhas(t), QList<QStringList>({textos}));
    for (int c = 0; c < rotulos.size(); ++c) {
        QCOMPARE(t.horizontalHeaderItem(c)->text(), rotulos.at(c));
        QCOMPARE(t.item(0, c)->data(Qt::TextAlignmentRole).toInt(), alinhamentos.at(c));
    }
}

void TstTabelaConsulta::novoPreenchimentoSubstitui_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QList<QStringList>>("esperadas");
    QTest::newRow("outra consulta") << "SELECT 1, 'só esta'" << QList<QStringList>({{"1", "só esta"}});
    QTest::newRow("sem linhas") << "SELECT 1, 'x' FROM DUAL WHERE FALSE" << QList<QStringList>();
    QTest::newRow("consulta que falhou") << "SELECT * FROM tabela_que_nao_existe" << QList<QStringList>();
}

// A full table refilled: only the new labels and rows remain.
void TstTabelaConsulta::novoPreenchimentoSubstitui()
{
    QFETCH(QString, sql);
    QFETCH(QList<QStringList>, esperadas);
    QTableWidget t;
    QSqlQuery primeira = executada(gastos);
    preencheTabelaComConsulta({"ID", "Data", "Fornecedor", "Valor"}, &primeira, &t);
    QSqlQuery segunda;
    segunda.exec(sql);
    QVERIFY(preencheTabelaComConsulta({"ID", "Nome"}, &segunda, &t));

    QCOMPARE(t.columnCount(), 2);
    QCOMPARE(t.horizontalHeaderItem(1)->text(), QStringLiteral("Nome"));
    QVERIFY(t.horizontalHeader()->stretchLastSection());
    QCOMPARE(linhas(t), esperadas);
}

void TstTabelaConsulta::ordenaPeloValorMostrado_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("col");
    QTest::addColumn<Qt::SortOrder>("ordem");
    QTest::addColumn<QStringList>("esperado");
    const QStringList valores {"-2.00", "-1.00", "3.50", "20.00", "100.00"};
    QStringList decrescentes = valores;
    std::reverse(decrescentes.begin(), decrescentes.end());
    QTest::newRow("valor") << gastos << 3 << Qt::AscendingOrder << valores;
    QTest::newRow("valor decrescente") << gastos << 3 << Qt::DescendingOrder << decrescentes;
    QTest::newRow("valor nulo")
        << "SELECT 1, CAST(NULL AS DOUBLE) UNION ALL SELECT 2, -1.5 UNION ALL SELECT 3, 0.25"
        << 1 << Qt::AscendingOrder << QStringList({"-1.50", "0.00", "0.25"});
    QTest::newRow("chave") << gastos << 0 << Qt::DescendingOrder << QStringList({"100", "30", "10", "9", "2"});
    QTest::newRow("data dd/mm/yy") << gastos << 1 << Qt::AscendingOrder
                                   << QStringList({"30/06/23", "31/12/24", "02/01/25", "10/01/25", "15/11/25"});
    QTest::newRow("texto") << gastos << 2 << Qt::AscendingOrder
                           << QStringList({"Açougue", "Mercado", "Zeta", "apple", "banco"});
}

// Sorted as by a click on a header, then refilled as the callers refill a
// sorted table: every record must still stand in one row.
void TstTabelaConsulta::ordenaPeloValorMostrado()
{
    QFETCH(QString, sql);
    QFETCH(int, col);
    QFETCH(Qt::SortOrder, ordem);
    QFETCH(QStringList, esperado);
    const QStringList rotulos {"ID", "Data", "Fornecedor", "Valor"};
    QTableWidget semOrdenacao;
    QSqlQuery referencia = executada(sql);
    preencheTabelaComConsulta(rotulos, &referencia, &semOrdenacao);
    QVERIFY(coluna(semOrdenacao, col) != esperado);

    QTableWidget t;
    for (int vez = 0; vez < 4; ++vez) {
        QSqlQuery q = executada(sql);
        preencheTabelaComConsulta(rotulos, &q, &t);
        if (vez == 0) {
            t.hideColumn(0);
            t.setSortingEnabled(true);
            t.sortByColumn(col, ordem);
        }
        QCOMPARE(coluna(t, col), esperado);
        QCOMPARE(registros(t), registros(semOrdenacao));
    }
}

void TstTabelaConsulta::linhasNaVistaDimensionadas_data()
{
    QTest::addColumn<bool>("visivelAoPreencher");
    QTest::addColumn<Vista>("vista");
    for (const bool visivel : {false, true}) {
        const char *quando = visivel ? "preenchida visível" : "preenchida antes de mostrar";
        QTest::addRow("%s, no topo", quando) << visivel << Vista::Topo;
        QTest::addRow("%s, rolada ao meio", quando) << visivel << Vista::Meio;
        QTest::addRow("%s, rolada ao fim", quando) << visivel << Vista::Fim;
        QTest::addRow("%s, ordenada pelo fornecedor", quando) << visivel << Vista::Ordenada;
        QTest::addRow("%s, mais alta", quando) << visivel << Vista::Maior;
    }
}

// Rows are sized to their contents only as they come into view: whatever
// brings a row into view must leave it as tall as its contents.
void TstTabelaConsulta::linhasNaVistaDimensionadas()
{
    QFETCH(bool, visivelAoPreencher);
    QFETCH(Vista, vista);
    QTableWidget t;
    QTableWidget referencia;
    preencheMostrada(t, visivelAoPreencher);
    preencheMostrada(referencia, true);
    QVERIFY(QTest::qWaitForWindowExposed(&t));

    switch (vista) {
    case Vista::Topo:
        break;
    case Vista::Meio:
        t.verticalScrollBar()->setValue(t.verticalScrollBar()->maximum() / 2);
        break;
    case Vista::Fim:
        t.scrollToBottom();
        break;
    case Vista::Ordenada:
        for (QTableWidget *tabela : {&t, &referencia}) {
            tabela->setSortingEnabled(true);
            tabela->sortByColumn(1, Qt::AscendingOrder);
        }
        break;
    case Vista::Maior:
        t.resize(400, 700);
        referencia.resize(400, 700);
        break;
    }

    QVERIFY(t.rowAt(0) >= 0);
    QTRY_COMPARE(malDimensionadas(t, referencia), QList<int>());
}

QTEST_MAIN(TstTabelaConsulta)
#include "tst_tabelaconsulta.moc"
