#include "accounts/dialogoconta.h"
#include "ui_dialogoconta.h"

#include "accounts/tabelacontas.h"
#include "messages/caixamensagem.h"

DialogoConta::DialogoConta(const Conta &sugerida, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogoConta)
{
    ui->setupUi(this);
    for (const DescricaoDoTipo &tipo : tiposDeConta())
        ui->comboBox_tipo->addItem(tipo.nome, int(tipo.tipo));
    ui->lineEdit_nome->setText(sugerida.nome);
    ui->comboBox_tipo->setCurrentIndex(ui->comboBox_tipo->findData(int(sugerida.tipo)));
    ui->lineEdit_banco->setText(sugerida.banco);
}

DialogoConta::~DialogoConta()
{
    delete ui;
}

void DialogoConta::accept()
{
    const Conta nova {0, ui->lineEdit_nome->text(), TipoDeConta(ui->comboBox_tipo->currentData().toInt()),
                      ui->lineEdit_banco->text()};
    const Resultado<int> criada = TabelaContas::criar(nova);
    if (!criada.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Nova conta"),
                    QStringLiteral("A conta não foi criada."), criada.motivo());
        ui->lineEdit_nome->setFocus();
        return;
    }
    m_conta = nova;
    m_conta.id = criada.valor();
    m_conta.nome = nova.nome.simplified();
    QDialog::accept();
}
