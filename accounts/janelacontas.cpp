#include "accounts/janelacontas.h"
#include "ui_janelacontas.h"

#include "accounts/dialogoconta.h"
#include "accounts/tabelacontas.h"
#include "messages/caixamensagem.h"

#include <QInputDialog>

JanelaContas::JanelaContas(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::JanelaContas)
{
    ui->setupUi(this);
    listar();
}

JanelaContas::~JanelaContas()
{
    delete ui;
}

void JanelaContas::listar(int idSelecionada)
{
    const Resultado<QVector<Conta>> lidas = TabelaContas::listar();
    if (!lidas.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro na Conexão"),
                    QStringLiteral("Erro na leitura do banco de dados"), lidas.motivo());
        return;
    }
    contas = lidas.valor();
    QTableWidget *tabela = ui->tableWidget_contas;
    tabela->clear();
    tabela->setColumnCount(3);
    tabela->setHorizontalHeaderLabels({QStringLiteral("Nome"), QStringLiteral("Tipo"), QStringLiteral("Banco")});
    tabela->setRowCount(contas.size());
    for (int linha = 0; linha < contas.size(); ++linha) {
        const Conta &conta = contas.at(linha);
        tabela->setItem(linha, 0, new QTableWidgetItem(conta.nome));
        tabela->setItem(linha, 1, new QTableWidgetItem(descricaoDoTipo(conta.tipo).nome));
        tabela->setItem(linha, 2, new QTableWidgetItem(conta.banco));
        if (conta.id == idSelecionada)
            tabela->selectRow(linha);
    }
    tabela->resizeColumnsToContents();
}

const Conta *JanelaContas::selecionada()
{
    const QModelIndexList linhas = ui->tableWidget_contas->selectionModel()->selectedRows();
    if (!linhas.isEmpty())
        return &contas.at(linhas.first().row());
    mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nenhuma seleção"),
                QStringLiteral("Selecione uma conta da lista."));
    return nullptr;
}

void JanelaContas::on_pushButton_nova_clicked()
{
    DialogoConta dialogo(Conta(), this);
    if (dialogo.exec() == QDialog::Accepted)
        listar(dialogo.conta().id);
}

void JanelaContas::on_pushButton_renomear_clicked()
{
    const Conta *conta = selecionada();
    if (!conta)
        return;
    const int id = conta->id;
    bool ok = false;
    const QString nome = QInputDialog::getText(this, QStringLiteral("Renomear conta"), QStringLiteral("Novo nome:"),
                                               QLineEdit::Normal, conta->nome, &ok);
    if (!ok)
        return;
    const Resultado<> renomeada = TabelaContas::renomear(id, nome);
    if (!renomeada.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Renomear conta"),
                    QStringLiteral("A conta não foi renomeada."), renomeada.motivo());
    listar(id);
}

void JanelaContas::on_pushButton_apagar_clicked()
{
    const Conta *conta = selecionada();
    if (!conta)
        return;
    if (mostraCaixa(this, QMessageBox::Question, QStringLiteral("Apagar conta"),
                    QStringLiteral("Deseja realmente apagar a conta “%1”?").arg(conta->nome), {},
                    QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const Resultado<> apagada = TabelaContas::apagar(conta->id);
    if (!apagada.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Apagar conta"),
                    QStringLiteral("A conta não foi apagada."), apagada.motivo());
    listar();
}
