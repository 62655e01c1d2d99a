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
    void colunasSemValoresSoAvisam_data();
    void colunasSemValoresSoAvisam();
    void cadaCelulaListaOsGastosDaSuaSoma();
    void celulaDoMesAtual_data();
    void celulaDoMesAtual();
    void janelasFechamComORelatorio();
    void falhaDaConsultaDeixaJanelaVazia();

private:
    static QTableWidget *tabela(QObject *w) { return w->findChild<QTableWidget *>(); }
    static QModelIndex celula(Relatorios &r, const QString &categoria, int coluna);
    static JanelaDetalhe *abrir(Relatorios &r, const QModelIndex &indice);
    static QStringList linhas(JanelaDetalhe *j);
    BancoTeste banco {QStringLiteral("janeladetalhe")};
};

void TstJanelaDetalhe::initTestCase()
{
    QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
    for (const char *nome : {"Mercado", "Farmácia", "Apagada"})
        QVERIFY(banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {QString::fromUtf8(nome)}));
    // supplier, date as the server reckons it, amount, category
    const QList<QStringList> gastos {
        {"Padaria", "CURDATE()", "15.50", "Mercado"},
        {"Feira", "DATE_FORMAT(CURDATE(), '%Y-%m-01')", "4.25", "Mercado"},
        {"Atacado", "DATE_SUB(CURDATE(), INTERVAL 1 MONTH)", "100.00", "Mercado"},
        {"Compra", "DATE_SUB(CURDATE(), INTERVAL 3 MONTH)", "10.00", "Mercado"},
        {"Estorno", "DATE_SUB(CURDATE(), INTERVAL 3 MONTH)", "-10.00", "Mercado"},
        {"Antigo", "DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%Y-%m-01')", "7.00", "Mercado"},
        {"Drogaria", "DATE_SUB(CURDATE(), INTERVAL 1 MONTH)", "30.00", "Farmácia"},
        {"Sem categoria", "CURDATE()", "8.00", ""},
        {"Categoria apagada", "CURDATE()", "2.00", "Apagada"},
        {"Apagada antes", "DATE_SUB(CURDATE(), INTERVAL 2 MONTH)", "5.00", "Apagada"},
    };
    for (const QStringList &g : gastos)
        QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, idCategoria) SELECT %1, ?, ?, "
                                             "(SELECT idCategoria FROM categoria WHERE categoria = ?)").arg(g[1]),
                              {g[0], g[2], g[3]}));
    QVERIFY(banco.executa("DELETE FROM categoria WHERE categoria = 'Apagada'"));
}

QModelIndex TstJanelaDetalhe::celula(Relatorios &r, const QString &categoria, int coluna)
{
    QTableWidget *t = tabela(&r);
    const auto achados = t->findItems(categoria, Qt::MatchExactly);
    return achados.isEmpty() ? QModelIndex() : t->model()->index(achados.first()->row(), coluna);
}

JanelaDetalhe *TstJanelaDetalhe::abrir(Relatorios &r, const QModelIndex &indice)
{
    const int antes = r.findChildren<JanelaDetalhe *>().size();
    emit tabela(&r)->doubleClicked(indice);
    const auto janelas = r.findChildren<JanelaDetalhe *>();
    return janelas.size() > antes ? janelas.last() : nullptr;
}

// "supplier amount" per row, sorted: the server returns them in no set order.
QStringList TstJanelaDetalhe::linhas(JanelaDetalhe *j)
{
    QStringList lista;
    for (int linha = 0; linha < tabela(j)->rowCount(); ++linha)
        lista << tabela(j)->item(linha, 1)->text() + ' ' + tabela(j)->item(linha, 3)->text();
    lista.sort();
    return lista;
}

void TstJanelaDetalhe::colunasSemValoresSoAvisam_data()
{
    QTest::addColumn<int>("coluna");
    QTest::newRow("chave oculta") << 0;
    QTest::newRow("categoria") << 1;
}

void TstJanelaDetalhe::colunasSemValoresSoAvisam()
{
    QFETCH(int, coluna);
    Relatorios r;
    RespostaModal resposta;
    QVERIFY(!abrir(r, celula(r, "Mercado", coluna)));
    QCOMPARE(resposta.vistas().size(), 1);
    const JanelaVista aviso = resposta.vistas().first();
    QCOMPARE(aviso.tipo + '|' + aviso.titulo + '|' + aviso.texto, "warning|Erro ao clicar|Clique numa coluna com valores");
    QCOMPARE(aviso.botoes, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(aviso.pai, &r);
}

// Each sum, a 0.00 that cancels out included, is the total of the rows its
// window lists for the month its column is labelled with; a sum with nothing
// behind it warns and leaves an empty, untitled window.
void TstJanelaDetalhe::cadaCelulaListaOsGastosDaSuaSoma()
{
    Relatorios r;
    QTableWidget *t = tabela(&r);
    QCOMPARE(t->rowCount(), 3);
    int comLinhas = 0;
    for (int linha = 0; linha < t->rowCount(); ++linha) {
        for (int coluna = 2; coluna < t->columnCount(); ++coluna) {
            const QString soma = t->item(linha, coluna)->text();
            const QString mes = coluna == 2 ? QDate::currentDate().toString("MM/yyyy") : t->horizontalHeaderItem(coluna)->text();
            RespostaModal resposta;
            QScopedPointer<JanelaDetalhe> j(abrir(r, t->model()->index(linha, coluna)));
            QVERIFY(j);
            if (!resposta.vistas().isEmpty()) {
                QCOMPARE(soma, "0.00");
                const JanelaVista aviso = resposta.vistas().first();
                QCOMPARE(aviso.tipo + '|' + aviso.titulo + '|' + aviso.texto, "warning|Aviso|Não foram encontrados dados");
                QCOMPARE(aviso.pai, j.data());
                QVERIFY(j->windowTitle().isEmpty() && tabela(j.data())->columnCount() == 0);
                continue;
            }
            ++comLinhas;
            QCOMPARE(j->windowTitle(), QStringLiteral("Detalhes para %1 (%2)").arg(t->item(linha, 1)->text(), mes));
            double total = 0;
            for (const QString &l : linhas(j.data()))
                total += l.section(' ', -1).toDouble();
            QCOMPARE(QString::number(total, 'f', 2), soma);
        }
    }
    QCOMPARE(comLinhas, 7);
}

void TstJanelaDetalhe::celulaDoMesAtual_data()
{
    QTest::addColumn<QString>("categoria");
    QTest::addColumn<QStringList>("esperadas");
    QTest::newRow("Mercado") << "Mercado" << QStringList {"Feira 4.25", "Padaria 15.50"};
    QTest::newRow("Não Classificado") << "Não Classificado" << QStringList {"Categoria apagada 2.00", "Sem categoria 8.00"};
}

void TstJanelaDetalhe::celulaDoMesAtual()
{
    QFETCH(QString, categoria);
    QFETCH(QStringList, esperadas);
    Relatorios r;
    RespostaModal resposta;
    JanelaDetalhe *j = abrir(r, celula(r, categoria, 2));
    QVERIFY(j && resposta.vistas().isEmpty());
    QCOMPARE(linhas(j), esperadas);
    QVERIFY(j->isVisible() && !j->isModal() && j->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(j->size(), QSize(600, 400));
    QTableWidget *t = tabela(j);
    QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
    QStringList rotulos;
    for (int c = 0; c < t->columnCount(); ++c)
        rotulos << t->horizontalHeaderItem(c)->text();
    QCOMPARE(rotulos, QStringList({"Data", "Fornecedor", "Descrição", "Valor"}));
    const QString hoje = banco.valor("SELECT CURDATE()").toDate().toString(Qt::ISODate);
    QVERIFY(!t->findItems(hoje, Qt::MatchExactly).isEmpty());
}

void TstJanelaDetalhe::janelasFechamComORelatorio()
{
    auto *r = new Relatorios;
    QPointer<JanelaDetalhe> aberta1 = abrir(*r, celula(*r, "Mercado", 3));
    QPointer<JanelaDetalhe> aberta2 = abrir(*r, celula(*r, "Farmácia", 3));
    QVERIFY(aberta1 && aberta2 && aberta1 != aberta2);
    delete r;
    QVERIFY(!aberta1 && !aberta2);
}

void TstJanelaDetalhe::falhaDaConsultaDeixaJanelaVazia()
{
    Relatorios r;
    const QModelIndex mercado = celula(r, "Mercado", 2);
    QSqlDatabase::database().close();
    CapturaDebug debug;
    JanelaDetalhe *j = abrir(r, mercado);
    QVERIFY(j);
    QCOMPARE(debug.linhas().size(), 1);
    QVERIFY(debug.linhas().first().startsWith("Erro ao executar a query: \""));
    QVERIFY(j->windowTitle().isEmpty() && tabela(j)->columnCount() == 0);
    QVERIFY(banco.abrirPadrao());
}

QTEST_MAIN(TstJanelaDetalhe)
#include "tst_janeladetalhe.moc"
