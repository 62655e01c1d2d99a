#include "budget/janelaorcamento.h"
#include "ui_janelaorcamento.h"

#include "budget/faixaorcamento.h"
#include "budget/tabelaorcamento.h"
#include "database/gradebrasileira.h"
#include "database/sql.h"

#include <QMessageBox>
#include <QSignalBlocker>

namespace {

const int colunaNome = 0;
const int colunaValor = 1;

// Right-aligned also when empty, where the user types a budget.
QTableWidgetItem *celulaDoOrcamento(const std::optional<double> &valor)
{
    QTableWidgetItem *celula =
        valor ? GradeBrasileira::celulaEmReais(Sql::centavos(*valor)) : GradeBrasileira::celula(QString());
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
    QVector<OrcamentoDaCategoria> categorias;
    QString erro;
    if (!TabelaOrcamento::lista(&categorias, &erro)) {
        QMessageBox::critical(this, QStringLiteral("Orçamento"),
                              QStringLiteral("Não foi possível ler as categorias: ") + erro);
        return;
    }
    QTableWidget *tabela = ui->tableWidget_orcamento;
    const QSignalBlocker bloqueio(tabela);
    tabela->setRowCount(categorias.size());
    for (int linha = 0; linha < categorias.size(); ++linha) {
        const OrcamentoDaCategoria &categoria = categorias.at(linha);
        QTableWidgetItem *nome = GradeBrasileira::celula(categoria.categoria);
        nome->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        nome->setData(Qt::UserRole, categoria.idCategoria);
        tabela->setItem(linha, colunaNome, nome);
        tabela->setItem(linha, colunaValor, celulaDoOrcamento(categoria.valor));
    }
    GradeBrasileira::arruma(tabela);
}

// A refused amount stays in its cell, tinted, until the user corrects it.
void JanelaOrcamento::on_tableWidget_orcamento_itemChanged(QTableWidgetItem *item)
{
    QTableWidget *tabela = ui->tableWidget_orcamento;
    if (item->column() != colunaValor)
        return;
    const int id = tabela->item(item->row(), colunaNome)->data(Qt::UserRole).toInt();
    std::optional<double> gravado;
    QString erro;
    const bool gravou = TabelaOrcamento::grava(id, item->text(), &gravado, &erro);
    {
        const QSignalBlocker bloqueio(tabela);
        // A new cell, sorting by the new amount (it may move if the grid is sorted by it).
        if (gravou) {
            tabela->setItem(item->row(), colunaValor, celulaDoOrcamento(gravado));
        } else {
            item->setBackground(corDaFaixa(FaixaOrcamento::Estourado));
            item->setToolTip(erro);
        }
    }
    if (!gravou)
        QMessageBox::warning(this, QStringLiteral("Orçamento não gravado"), erro);
}
