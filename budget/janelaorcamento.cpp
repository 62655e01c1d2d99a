#include "budget/janelaorcamento.h"
#include "ui_janelaorcamento.h"

#include "budget/faixaorcamento.h"
#include "budget/tabelaorcamento.h"
#include "messages/formatacao.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QSignalBlocker>

namespace {

const int colunaNome = 0;
const int colunaValor = 1;

QString textoDoOrcamento(const std::optional<double> &valor)
{
    return valor ? numeroBrasileiro(*valor) : QString();
}

} // namespace

JanelaOrcamento::JanelaOrcamento(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::JanelaOrcamento)
{
    ui->setupUi(this);
    ui->tableWidget_orcamento->horizontalHeader()->setSectionResizeMode(colunaNome, QHeaderView::Stretch);
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
        auto *nome = new QTableWidgetItem(categoria.categoria);
        nome->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        nome->setData(Qt::UserRole, categoria.idCategoria);
        auto *valor = new QTableWidgetItem(textoDoOrcamento(categoria.valor));
        valor->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tabela->setItem(linha, colunaNome, nome);
        tabela->setItem(linha, colunaValor, valor);
    }
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
        item->setBackground(gravou ? QBrush() : QBrush(corDaFaixa(FaixaOrcamento::Estourado)));
        item->setToolTip(erro);
        if (gravou)
            item->setText(textoDoOrcamento(gravado));
    }
    if (!gravou)
        QMessageBox::warning(this, QStringLiteral("Orçamento não gravado"), erro);
}
