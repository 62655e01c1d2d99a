#include "register/formulariogasto.h"
#include "ui_formulariogasto.h"

#include "accounts/tabelacontas.h"
#include "categories/tabelacategorias.h"
#include "messages/formatacao.h"
#include "register/escolhasdegasto.h"
#include "register/leituradogasto.h"
#include "register/tabelalancamentos.h"
#include "statements/data.h"

namespace {

// Today's, in the cash account, which is made the first time it is needed.
Resultado<Gasto> gastoNovo()
{
    const Resultado<int> dinheiro = TabelaContas::dinheiro();
    if (!dinheiro.ok())
        return dinheiro.motivo();
    Gasto gasto;
    gasto.data = QDate::currentDate();
    gasto.idConta = dinheiro.valor();
    return gasto;
}

} // namespace

int FormularioGasto::abrir(int idGasto, QWidget *pai)
{
    FormularioGasto formulario(pai);
    const Resultado<> preenchido = formulario.preencher(idGasto);
    if (!preenchido.ok()) {
        mostraCaixa(pai, QMessageBox::Warning, QStringLiteral("Gasto"), QStringLiteral("O gasto não pôde ser aberto."),
                    preenchido.motivo());
        return 0;
    }
    return formulario.exec() == QDialog::Accepted ? formulario.gasto.id : 0;
}

FormularioGasto::FormularioGasto(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::FormularioGasto)
{
    ui->setupUi(this);
}

FormularioGasto::~FormularioGasto()
{
    delete ui;
}

Resultado<> FormularioGasto::preencher(int idGasto)
{
    // The expense first: a new one may make the cash account the list then shows.
    const Resultado<Gasto> lido = idGasto ? TabelaLancamentos::ler(idGasto) : gastoNovo();
    if (!lido.ok())
        return lido.motivo();
    const Resultado<QVector<QPair<int, QString>>> categorias = TabelaCategorias::listar();
    const Resultado<QVector<Conta>> contas = TabelaContas::listar();
    if (!categorias.ok() || !contas.ok())
        return categorias.ok() ? contas.motivo() : categorias.motivo();
    gasto = lido.valor();
    setWindowTitle(idGasto ? QStringLiteral("Editar gasto") : QStringLiteral("Novo gasto"));
    ui->lineEdit_data->setText(dataNaGrade(gasto.data));
    ui->lineEdit_fornecedor->setText(gasto.fornecedor);
    ui->lineEdit_descricao->setText(gasto.descricao);
    ui->lineEdit_valor->setText(idGasto ? numeroBrasileiro(gasto.centavos / 100.0) : QString());
    acrescentaCategorias(ui->comboBox_categoria, categorias.valor());
    escolhe(ui->comboBox_categoria, gasto.idCategoria);
    acrescentaContas(ui->comboBox_conta, contas.valor());
    escolhe(ui->comboBox_conta, gasto.idConta);
    return Feito();
}

void FormularioGasto::accept()
{
    const Resultado<QDate> data = dataDoGasto(ui->lineEdit_data->text());
    if (!data.ok()) {
        recusa(ui->lineEdit_data, data.motivo());
        return;
    }
    const Resultado<qint64> valor = valorDoGasto(ui->lineEdit_valor->text());
    if (!valor.ok()) {
        recusa(ui->lineEdit_valor, valor.motivo());
        return;
    }
    const Gasto editado {gasto.id, data.valor(), ui->lineEdit_fornecedor->text(), ui->lineEdit_descricao->text(),
                         valor.valor(), ui->comboBox_categoria->currentData().toInt(),
                         ui->comboBox_conta->currentData().toInt()};
    const Resultado<int> gravado = TabelaLancamentos::gravar(editado);
    if (!gravado.ok()) {
        recusa(nullptr, gravado.motivo());
        return;
    }
    gasto = editado;
    gasto.id = gravado.valor();
    QDialog::accept();
}

void FormularioGasto::recusa(QWidget *campo, const Motivo &motivo)
{
    mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Gasto"), QStringLiteral("O gasto não foi gravado."), motivo);
    if (campo)
        campo->setFocus();
}
