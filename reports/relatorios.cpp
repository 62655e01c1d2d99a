#include "reports/relatorios.h"
#include "ui_relatorios.h"

#include "accounts/tabelamovimentos.h"
#include "budget/faixaorcamento.h"
#include "budget/tabelaorcamento.h"
#include "database/gradebrasileira.h"
#include "database/sql.h"
#include "database/tabelaconsulta.h"
#include "messages/caixamensagem.h"
#include "reports/agrupamentografico.h"
#include "reports/janeladetalhe.h"

#include <QDebug>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlRecord>

namespace {

// The lower bound is the first day of the month twelve months back, so the
// oldest column sums its whole month like every other; it stays a bare
// comparison on data so that an index on data can serve it.
const char *const sqlRelatorio = R"(SELECT categoria.idCategoria as ID, IFNULL(categoria.categoria, 'Não Classificado') AS categoria,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(CURDATE(), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Atual`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 1 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_1`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 2 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_2`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 3 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_3`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 4 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_4`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 5 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_5`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 6 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_6`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 7 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_7`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 8 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_8`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 9 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_9`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 10 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_10`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 11 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_11`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_12`
FROM gastos LEFT JOIN categoria ON gastos.idCategoria = categoria.idCategoria
WHERE data >= DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%Y-%m-01')
GROUP BY categoria.categoria
ORDER BY categoria.categoria;)";

const int colunaChave = 0;
const int colunaNome = 1;
const int colunaMesAtual = 2;
const int meses = 13;
const int colunaOrcamento = colunaMesAtual + meses;
const int linhaDosGastos = 1; // beneath the grid: Entradas, Gastos, Saldo

} // namespace

Relatorios::Relatorios(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Relatorios)
    , hoje(QDate::currentDate())
{
    ui->setupUi(this);
    // The chart the larger part: at the dialog's first size, half the height
    // leaves its labels and names no room.
    ui->splitter_relatorio->setSizes({3 * height() / 5, 2 * height() / 5});
    connect(ui->chartView_relatorio, &GraficoRelatorio::segmentoClicado, this, &Relatorios::abreDetalhe);
    if (relPrincipal())
        montaTabelaRelatorio();
    else
        ui->chartView_relatorio->mostraVazio(QStringLiteral("Os gastos não puderam ser lidos: "
                                                            "veja a conexão com o banco de dados."));
}

Relatorios::~Relatorios()
{
    delete ui;
}

bool Relatorios::relPrincipal()
{
    const bool executou = consulta.exec(QString::fromUtf8(sqlRelatorio));
    if (!executou)
        qDebug() << "Erro ao executar a query:" << consulta.lastError().text();
    return executou;
}

void Relatorios::montaTabelaRelatorio()
{
    QStringList rotulos {QStringLiteral("ID"), QStringLiteral("Categoria"), QStringLiteral("Mês Atual")};
    QDate mes = hoje;
    for (int i = colunaMesAtual + 1; i < consulta.record().count(); ++i) {
        mes = mes.addMonths(-1);
        rotulos << formataData(QStringLiteral("MM/yyyy"), mes);
    }
    rotulos << QStringLiteral("Orçamento");
    QTableWidget *tabela = ui->tableWidget_relatorio;
    preencheTabelaComConsulta(rotulos, &consulta, tabela);
    const QVector<GastosDaCategoria> categorias = gastosDoResultado();
    DadosDoGrafico dados = agrupaParaGrafico(categorias, hoje, acrescentaOrcamentos(categorias));
    const QVector<qint64> entradas = mostraSaldo(categorias, rotulos.mid(colunaMesAtual, meses));
    std::reverse_copy(entradas.cbegin(), entradas.cend(), std::back_inserter(dados.entradas));
    ui->chartView_relatorio->mostra(dados);
    tabela->hideColumn(colunaChave);
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Switched on only now: the fill is fast and keeps records whole with
    // sorting off, and switching it on sorts once by the header's indicator.
    tabela->setSortingEnabled(true);
}

// The rows the grid was just filled with, in the same order, read again
// from the result it holds.
QVector<GastosDaCategoria> Relatorios::gastosDoResultado()
{
    QVector<GastosDaCategoria> categorias;
    if (!consulta.first())
        return categorias;
    do {
        GastosDaCategoria categoria {consulta.value(colunaChave).toInt(), consulta.value(colunaNome).toString(), {}};
        for (int coluna = colunaMesAtual; coluna < colunaOrcamento; ++coluna)
            categoria.porMes << Sql::centavos(consulta.value(coluna));
        categorias << categoria;
    } while (consulta.next());
    return categorias;
}

// Each budget beside its category's row, the current month tinted by how
// much of it is spent; a budgeted category without spending in the period
// gets a row of zeros. Returns the total budget.
qint64 Relatorios::acrescentaOrcamentos(const QVector<GastosDaCategoria> &categorias)
{
    const Resultado<QVector<OrcamentoDaCategoria>> orcamentos = TabelaOrcamento::lista();
    if (!orcamentos.ok())
        return 0;
    QHash<int, int> linhaDaCategoria;
    for (int linha = 0; linha < categorias.size(); ++linha)
        linhaDaCategoria.insert(categorias.at(linha).id, linha);
    QTableWidget *tabela = ui->tableWidget_relatorio;
    qint64 total = 0;
    for (const OrcamentoDaCategoria &orcamento : orcamentos.valor()) {
        if (!orcamento.centavos)
            continue;
        total += *orcamento.centavos;
        const int linhaDosGastos = linhaDaCategoria.value(orcamento.idCategoria, -1);
        const qint64 gasto = linhaDosGastos < 0 ? 0 : categorias.at(linhaDosGastos).porMes.value(0);
        const int linha = linhaDosGastos < 0 ? linhaSemGastos(orcamento) : linhaDosGastos;
        tabela->setItem(linha, colunaOrcamento, itemDeConsulta(*orcamento.centavos / 100.0));
        const FaixaOrcamento faixa = faixaDoOrcamento(gasto, *orcamento.centavos);
        if (faixa != FaixaOrcamento::Folgado)
            tabela->item(linha, colunaMesAtual)->setBackground(corDaFaixa(faixa));
    }
    return total;
}

// Beneath the categories, each month's income, spending (the sum of its
// column) and what is left; the income, current month first, is handed back
// for the chart, empty when it could not be read, which the user is told.
QVector<qint64> Relatorios::mostraSaldo(const QVector<GastosDaCategoria> &categorias, const QStringList &rotulos)
{
    const Resultado<QVector<qint64>> entradas = TabelaMovimentos::entradasPorMes(meses);
    QVector<qint64> gastos(meses, 0);
    for (const GastosDaCategoria &categoria : categorias) {
        for (int mes = 0; mes < meses; ++mes)
            gastos[mes] += categoria.porMes.value(mes);
    }
    QTableWidget *saldo = ui->tableWidget_saldo;
    saldo->setColumnCount(meses + 1);
    saldo->setHorizontalHeaderLabels(QStringList(QString()) + rotulos);
    saldo->setRowCount(3);
    const QStringList nomes {QStringLiteral("Entradas"), QStringLiteral("Gastos"), QStringLiteral("Saldo")};
    for (int linha = 0; linha < nomes.size(); ++linha) {
        saldo->setItem(linha, 0, new QTableWidgetItem(nomes.at(linha)));
        for (int mes = 0; mes < meses && (entradas.ok() || linha == linhaDosGastos); ++mes) {
            const qint64 entrada = entradas.ok() ? entradas.valor().at(mes) : 0;
            const qint64 valores[] = {entrada, gastos.at(mes), entrada - gastos.at(mes)};
            saldo->setItem(linha, mes + 1, GradeBrasileira::celulaEmReais(valores[linha]));
        }
    }
    saldo->resizeColumnsToContents();
    saldo->resizeRowsToContents();
    // Its three rows always in full, whatever the room above them.
    saldo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    saldo->setFixedHeight(saldo->horizontalHeader()->sizeHint().height() + 3 * saldo->rowHeight(0)
                          + saldo->horizontalScrollBar()->sizeHint().height() + 2 * saldo->frameWidth());
    if (!entradas.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Relatório"),
                    QStringLiteral("As entradas não puderam ser lidas: o relatório mostra só os gastos de cada mês."),
                    entradas.motivo());
    return entradas.ok() ? entradas.valor() : QVector<qint64>();
}

// A new row of zeros for a category that spent nothing in the period.
int Relatorios::linhaSemGastos(const OrcamentoDaCategoria &orcamento)
{
    QTableWidget *tabela = ui->tableWidget_relatorio;
    const int linha = tabela->rowCount();
    tabela->insertRow(linha);
    tabela->setItem(linha, colunaChave, itemDeConsulta(orcamento.idCategoria));
    tabela->setItem(linha, colunaNome, itemDeConsulta(orcamento.categoria));
    for (int coluna = colunaMesAtual; coluna < colunaOrcamento; ++coluna)
        tabela->setItem(linha, coluna, itemDeConsulta(0.0));
    return linha;
}

void Relatorios::on_tableWidget_relatorio_doubleClicked(const QModelIndex &index)
{
    if (index.column() < colunaMesAtual || index.column() >= colunaOrcamento) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro ao clicar"),
                    QStringLiteral("Clique numa coluna com valores"),
                    {QStringLiteral("Um duplo clique na soma de um mês mostra os gastos que a compõem."), {}});
        return;
    }
    const QTableWidget *tabela = ui->tableWidget_relatorio;
    const QString nome = tabela->item(index.row(), colunaNome)->text();
    // The row "Não Classificado" has a NULL key, which the grid shows as "0";
    // any text that is no number reads as 0 too, and the detail window takes
    // 0 as "no category" (the server never hands out 0 as a key).
    const int id = tabela->item(index.row(), colunaChave)->text().toInt(nullptr, 10);
    abreDetalhe(id, nome, index.column() - colunaMesAtual);
}

void Relatorios::abreDetalhe(int id, const QString &nome, int mesesAtras)
{
    const QDate mes = hoje.addMonths(-mesesAtras);
    auto *janela = new JanelaDetalhe(id, mes, nome, this);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->show();
}
