#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QPointer>
#include <QTableWidget>
#include <QtTest>

// The detail window opened as the user opens it, by a double-click on a cell
// of the report, over expenses dated by the server around its CURDATE().
class TstJanelaDetalhe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cadaCelulaListaOsGastosDaSuaSoma();
    void falhaDaConsultaDeixaJanelaVazia();

private:
    static QTableWidget *tabela(QObject *w) { return w->findChild<QTableWidget *>(); }
    static QString caixa(const JanelaVista &v) { return QStringList({v.tipo, v.titulo, v.texto}).join('|'); }
    static JanelaDetalhe *abrir(Relatorios &r, const QModelIndex &indice);
    BancoTeste banco {QStringLiteral("janeladetalhe")};
};

void TstJanelaDetalhe::initTestCase()
{
    QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
    for (const char *nome : {"Mercado", "Farmácia", "Apagada"})
        QVERIFY(banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {QString::fromUtf8(nome)}));
    // supplier, date as the server reckons it, amount, category
    const QList<QStringList> gastos {
        {"Padaria", "CURDATE()", "15.50", "Mercado"}, {"Feira", "DATE_FORMAT(CURDATE(), '%Y-%m-01')", "4.25", "Mercado"},
        {"Atacado", "DATE_SUB(CURDATE(), INTERVAL 1 MONTH)", "100.00", "Mercado"},
        {"Compra", "DATE_SUB(CURDATE(), INTERVAL 3 MONTH)", "10.00", "Mercado"},
        {"Estorno", "DATE_SUB(CURDATE(), INTERVAL 3 MONTH)", "-10.00", "Mercado"},
        {"Antigo", "DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%Y-%m-01')", "7.00", "Mercado"},
        {"Drogaria", "DATE_SUB(CURDATE(), INTERVAL 1 MONTH)", "30.00", "Farmácia"},
        {"Sem categoria", "CURDATE()", "8.00", ""}, {"Categoria apagada", "CURDATE()", "2.00", "Apagada"},
        {"Apagada antes", "DATE_SUB(CURDATE(), INTERVAL 2 MONTH)", "5.00", "Apagada"}};
    for (const QStringList &g : gastos)
        QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, idCategoria) SELECT %1, ?, ?, "
                                             "(SELECT idCategoria FROM categoria WHERE categoria = ?)").arg(g[1]),
                              {g[0], g[2], g[3]}));
    QVERIFY(banco.executa("DELETE FROM categoria WHERE categoria = 'Apagada'"));
}

JanelaDetalhe *TstJanelaDetalhe::abrir(Relatorios &r, const QModelIndex &indice)
{
    const int antes = r.findChildren<JanelaDetalhe *>().size();
    emit tabela(&r)->doubleClicked(indice);
    const auto janelas = r.findChildren<JanelaDetalhe *>();
    return janelas.size() > antes ? janelas.last() : nullptr;
}

// Key and name cells only warn; each sum (a cancelling 0.00 too) totals the rows
// its window lists for its month, every expense listed once; an empty sum warns
// and leaves an empty window; the windows close with the report.
void TstJanelaDetalhe::cadaCelulaListaOsGastosDaSuaSoma()
{
    auto *r = new Relatorios;
    QTableWidget *t = tabela(r);
    int comLinhas = 0;
    QStringList listados;
    QList<QPointer<JanelaDetalhe>> abertas;
    for (int linha = 0; linha < t->rowCount(); ++linha) {
        for (int coluna = 0; coluna < 15; ++coluna) { // the month columns and the two before them
            RespostaModal resposta;
            QPointer<JanelaDetalhe> j = abrir(*r, t->model()->index(linha, coluna));
            const JanelaVista aviso = resposta.vistas().value(0);
            if (coluna < 2) {
                QVERIFY(!j && aviso.botoes == QMessageBox::Ok && aviso.pai == r);
                QCOMPARE(caixa(aviso), "warning|Erro ao clicar|Clique numa coluna com valores");
                continue;
            }
            const QString soma = t->item(linha, coluna)->text();
            const QString mes = coluna == 2 ? QDate::currentDate().toString("MM/yyyy") : t->horizontalHeaderItem(coluna)->text();
            QVERIFY(j && j->isVisible() && !j->isModal() && j->testAttribute(Qt::WA_DeleteOnClose));
            abertas << j;
            QTableWidget *d = tabela(j);
            if (!resposta.vistas().isEmpty()) {
                QCOMPARE(soma, "0.00");
                QCOMPARE(caixa(aviso), "warning|Aviso|Não foram encontrados dados");
                QVERIFY(aviso.pai == j && j->windowTitle().isEmpty() && d->columnCount() == 0);
                continue;
            }
            ++comLinhas;
            QCOMPARE(j->windowTitle(), QStringLiteral("Detalhes para %1 (%2)").arg(t->item(linha, 1)->text(), mes));
            QVERIFY(j->size() == QSize(600, 400) && d->editTriggers() == QAbstractItemView::NoEditTriggers);
            double total = 0;
            for (int c = 0; c < d->columnCount(); ++c)
                QCOMPARE(d->horizontalHeaderItem(c)->text(), QStringList({"Data", "Fornecedor", "Descrição", "Valor"}).value(c));
            for (int l = 0; l < d->rowCount(); ++l) {
                QCOMPARE(QDate::fromString(d->item(l, 0)->text(), Qt::ISODate).toString("MM/yyyy"), mes);
                listados << d->item(l, 1)->text() + ' ' + d->item(l, 3)->text();
                total += d->item(l, 3)->text().toDouble();
            }
            QCOMPARE(QString::number(total, 'f', 2), soma);
        }
    }
    QCOMPARE(comLinhas, 7);
    listados.sort();
    QCOMPARE(listados, QStringList({"Antigo 7.00", "Apagada antes 5.00", "Atacado 100.00", "Categoria apagada 2.00",
                                    "Compra 10.00", "Drogaria 30.00", "Estorno -10.00", "Feira 4.25", "Padaria 15.50",
                                    "Sem categoria 8.00"}));
    delete r;
    QVERIFY(std::none_of(abertas.begin(), abertas.end(), [](const QPointer<JanelaDetalhe> &j) { return !j.isNull(); }));
}

void TstJanelaDetalhe::falhaDaConsultaDeixaJanelaVazia()
{
    Relatorios r;
    QSqlDatabase::database().close();
    CapturaDebug debug;
    JanelaDetalhe *j = abrir(r, tabela(&r)->model()->index(0, 2));
    QVERIFY(j);
    QCOMPARE(debug.linhas().size(), 1);
    QVERIFY(debug.linhas().first().startsWith("Erro ao executar a query: \""));
    QVERIFY(j->windowTitle().isEmpty() && tabela(j)->columnCount() == 0);
    QVERIFY(banco.abrirPadrao());
}

QTEST_MAIN(TstJanelaDetalhe)
#include "tst_janeladetalhe.moc"
