#include "budget/janelaorcamento.h"
#include "ui_janelaorcamento.h"

#include "accounts/tabelamovimentos.h"
#include "budget/faixaorcamento.h"
#include "budget/tabelaorcamento.h"
#include "database/gradebrasileira.h"
#include "instalments/compromissos.h"
#include "instalments/tabelacompras.h"
#include "messages/caixamensagem.h"
#include "messages/formatacao.h"

#include <QSignalBlocker>

#include <numeric>

namespace {

const int colunaNome = 0;
const int colunaValor = 1;
const int colunaParcelas = 2;
const int proximoMes = 1;

// Right-aligned also when empty, where the user types a budget.
QTableWidgetItem *celulaDoOrcamento(const std::optional<qint64> &centavos)
{
    QTableWidgetItem *celula =
        centavos ? GradeBrasileira::celulaEmReais(*centavos) : GradeBrasileira::celula(QString());
    celula->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return celula;
}

} // namespace

JanelaOrcamento::JanelaOrcamento(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::JanelaOrcamento)
{
    ui->setupUi(this);
    carrega();
}

JanelaOrcamento::~JanelaOrcamento()
{
    delete ui;
}

void JanelaOrcamento::carrega()
{
    const Resultado<QVector<OrcamentoDaCategoria>> lidas = TabelaOrcamento::lista();
    if (!lidas.ok()) {
        mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Orçamento"),
                    QStringLiteral("Não foi possível ler as categorias."), lidas.motivo());
        return;
    }
    const QVector<OrcamentoDaCategoria> &categorias = lidas.valor();
    // Next month's instalments already owed, beside the budget they will eat into.
    const QDate hoje = QDate::currentDate();
    const Resultado<QVector<Compra>> compras = TabelaCompras::lista();
    if (!compras.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Orçamento"),
                    QStringLiteral("As compras parceladas não puderam ser lidas: a coluna das parcelas fica vazia."),
                    compras.motivo());
    const Compromissos futuros = compras.ok() ? compromissos(compras.valor(), hoje, 2) : Compromissos();
    QTableWidget *tabela = ui->tableWidget_orcamento;
    const QSignalBlocker bloqueio(tabela);
    tabela->horizontalHeaderItem(colunaParcelas)
        ->setText(QStringLiteral("Parcelas de %1").arg(hoje.addMonths(proximoMes).toString(QStringLiteral("MM/yyyy"))));
    tabela->setRowCount(categorias.size());
    for (int linha = 0; linha < categorias.size(); ++linha) {
        const OrcamentoDaCategoria &categoria = categorias.at(linha);
        QTableWidgetItem *nome = GradeBrasileira::celula(categoria.categoria);
        nome->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        nome->setData(Qt::UserRole, categoria.idCategoria);
        tabela->setItem(linha, colunaNome, nome);
        tabela->setItem(linha, colunaValor, celulaDoOrcamento(categoria.centavos));
        const qint64 proximas = futuros.soma(categoria.idCategoria, proximoMes);
        QTableWidgetItem *parcelas =
            compras.ok() ? GradeBrasileira::celulaEmReais(proximas) : GradeBrasileira::celula(QString());
        parcelas->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        tabela->setItem(linha, colunaParcelas, parcelas);
        orcamentos.insert(categoria.idCategoria, categoria.centavos.value_or(0));
    }
    GradeBrasileira::arruma(tabela);
    mostraTotais();
}

// The month's income beside the total budget.
void JanelaOrcamento::mostraTotais()
{
    const QDate hoje = QDate::currentDate();
    const qint64 orcamentoTotal = std::accumulate(orcamentos.cbegin(), orcamentos.cend(), qint64(0));
    const Resultado<QVector<qint64>> entradas = TabelaMovimentos::entradasPorMes(1);
    ui->label_totais->setText(
        QStringLiteral("Orçamento total: %1 por mês. Entradas de %2 até agora: %3.")
            .arg(centavosEmReais(orcamentoTotal), hoje.toString(QStringLiteral("MM/yyyy")),
                 entradas.ok() ? centavosEmReais(entradas.valor().value(0)) : QStringLiteral("não lidas")));
}

// A refused amount stays in its cell, tinted, until the user corrects it.
void JanelaOrcamento::on_tableWidget_orcamento_itemChanged(QTableWidgetItem *item)
{
    QTableWidget *tabela = ui->tableWidget_orcamento;
    if (item->column() != colunaValor)
        return;
    const QTableWidgetItem *nome = tabela->item(item->row(), colunaNome);
    const Resultado<std::optional<qint64>> gravado =
        TabelaOrcamento::grava(nome->data(Qt::UserRole).toInt(), item->text());
    {
        const QSignalBlocker bloqueio(tabela);
        // A new cell, sorting by the new amount (it may move if the grid is sorted by it).
        if (gravado.ok()) {
            orcamentos.insert(nome->data(Qt::UserRole).toInt(), gravado.valor().value_or(0));
            tabela->setItem(item->row(), colunaValor, celulaDoOrcamento(gravado.valor()));
            mostraTotais();
            return;
        }
        item->setBackground(corDaFaixa(FaixaOrcamento::Estourado));
        item->setToolTip(gravado.motivo().texto);
    }
    mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Orçamento não gravado"),
                QStringLiteral("O orçamento de “%1” não foi gravado.").arg(nome->text()), gravado.motivo());
}
