#include "register/divisaodegasto.h"
#include "ui_divisaodegasto.h"

#include "categories/tabelacategorias.h"
#include "messages/formatacao.h"
#include "register/escolhasdegasto.h"
#include "register/leituradogasto.h"
#include "register/tabelalancamentos.h"
#include "statements/data.h"

#include <QComboBox>

namespace {

enum Coluna { Categoria, Valor };

QString valorParaDigitar(qint64 centavos)
{
    return centavos ? numeroBrasileiro(centavos / 100.0) : QString();
}

} // namespace

bool DivisaoDeGasto::dividir(int idGasto, QWidget *pai)
{
    DivisaoDeGasto dialogo(pai);
    const Resultado<> preenchido = dialogo.preencher(idGasto);
    if (!preenchido.ok()) {
        mostraCaixa(pai, QMessageBox::Warning, QStringLiteral("Dividir gasto"),
                    QStringLiteral("O gasto não pôde ser aberto."), preenchido.motivo());
        return false;
    }
    return dialogo.exec() == QDialog::Accepted;
}

DivisaoDeGasto::DivisaoDeGasto(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DivisaoDeGasto)
{
    ui->setupUi(this);
    connect(ui->tableWidget_partes, &QTableWidget::itemChanged, this, &DivisaoDeGasto::mostraSoma);
}

DivisaoDeGasto::~DivisaoDeGasto()
{
    delete ui;
}

// The expense's amount and category stay whole in the first part, the
// second empty, for the user to move part of it there.
Resultado<> DivisaoDeGasto::preencher(int idGasto)
{
    const Resultado<Gasto> lido = TabelaLancamentos::ler(idGasto);
    const Resultado<QVector<QPair<int, QString>>> lista = TabelaCategorias::listar();
    if (!lido.ok() || !lista.ok())
        return lido.ok() ? lista.motivo() : lido.motivo();
    gasto = lido.valor();
    categorias = lista.valor();
    ui->label_gasto->setText(QStringLiteral("%1 de %2 em %3")
                                 .arg(centavosEmReais(gasto.centavos), gasto.fornecedor, dataNaGrade(gasto.data)));
    acrescentaParte(valorParaDigitar(gasto.centavos), gasto.idCategoria);
    acrescentaParte(QString(), 0);
    ui->tableWidget_partes->resizeColumnToContents(Categoria);
    mostraSoma();
    return Feito();
}

void DivisaoDeGasto::acrescentaParte(const QString &valor, int idCategoria)
{
    QTableWidget *partes = ui->tableWidget_partes;
    const int linha = partes->rowCount();
    partes->insertRow(linha);
    auto *categoria = new QComboBox(partes);
    acrescentaCategorias(categoria, categorias);
    escolhe(categoria, idCategoria);
    partes->setCellWidget(linha, Categoria, categoria);
    auto *item = new QTableWidgetItem(valor);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    partes->setItem(linha, Valor, item);
}

qint64 DivisaoDeGasto::distribuido() const
{
    qint64 soma = 0;
    for (int linha = 0; linha < ui->tableWidget_partes->rowCount(); ++linha) {
        const Resultado<qint64> valor = valorDoGasto(ui->tableWidget_partes->item(linha, Valor)->text());
        soma += valor.ok() ? valor.valor() : 0;
    }
    return soma;
}

void DivisaoDeGasto::mostraSoma()
{
    ui->label_soma->setText(QStringLiteral("As partes somam %1 de %2.")
                                .arg(centavosEmReais(distribuido()), centavosEmReais(gasto.centavos)));
}

// With what is still to distribute, so that the parts add up at once.
void DivisaoDeGasto::on_pushButton_maisUma_clicked()
{
    acrescentaParte(valorParaDigitar(gasto.centavos - distribuido()), 0);
    mostraSoma();
}

void DivisaoDeGasto::on_pushButton_remover_clicked()
{
    const int linha = ui->tableWidget_partes->currentRow();
    if (linha >= 0)
        ui->tableWidget_partes->removeRow(linha);
    mostraSoma();
}

void DivisaoDeGasto::accept()
{
    QVector<TabelaLancamentos::Parte> partes;
    for (int linha = 0; linha < ui->tableWidget_partes->rowCount(); ++linha) {
        const Resultado<qint64> valor = valorDoGasto(ui->tableWidget_partes->item(linha, Valor)->text());
        if (!valor.ok()) {
            ui->tableWidget_partes->setCurrentCell(linha, Valor);
            mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Dividir gasto"),
                        QStringLiteral("A parte %1 não foi aceita; o gasto não foi dividido.").arg(linha + 1),
                        valor.motivo());
            return;
        }
        const auto *categoria = static_cast<QComboBox *>(ui->tableWidget_partes->cellWidget(linha, Categoria));
        partes.append({valor.valor(), categoria->currentData().toInt()});
    }
    const Resultado<> dividido = TabelaLancamentos::dividir(gasto.id, partes);
    if (!dividido.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Dividir gasto"), QStringLiteral("O gasto não foi dividido."),
                    dividido.motivo());
        return;
    }
    QDialog::accept();
}
