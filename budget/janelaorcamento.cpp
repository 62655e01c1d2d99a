#include "budget/janelaorcamento.h"
#include "ui_janelaorcamento.h"

#include "budget/faixaorcamento.h"
#include "budget/tabelaorcamento.h"
#include "database/gradebrasileira.h"
#include "messages/caixamensagem.h"

#include <QSignalBlocker>

namespace {

const int colunaNome = 0;
const int colunaValor = 1;

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
    QTableWidget *tabela = ui->tableWidget_orcamento;
    const QSignalBlocker bloqueio(tabela);
    tabela->setRowCount(categorias.size());
    for (int linha = 0; linha < categorias.size(); ++linha) {
        const OrcamentoDaCategoria &categoria = categorias.at(linha);
        QTableWidgetItem *nome = GradeBrasileira::celula(categoria.categoria);
        nome->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        nome->setData(Qt::UserRole, categoria.idCategoria);
        tabela->setItem(linha, colunaNome, nome);
        tabela->setItem(linha, colunaValor, celulaDoOrcamento(categoria.centavos));
    }
    GradeBrasileira::arruma(tabela);
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
            tabela->setItem(item->row(), colunaValor, celulaDoOrcamento(gravado.valor()));
            return;
        }
        item->setBackground(corDaFaixa(FaixaOrcamento::Estourado));
        item->setToolTip(gravado.motivo().texto);
    }
    mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Orçamento não gravado"),
                QStringLiteral("O orçamento de “%1” não foi gravado.").arg(nome->text()), gravado.motivo());
}
