#include "import/mapeamentocolunas.h"
#include "ui_mapeamentocolunas.h"

#include "messages/caixamensagem.h"
#include "statements/leitorcsvbanco.h"
#include "statements/sugestaomapeamento.h"
#include "statements/textoextrato.h"

namespace {

const int linhasNaAmostra = 5;

} // namespace

MapeamentoColunas::MapeamentoColunas(const QStringList &linhas, int cabecalho, QChar separador, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::MapeamentoColunas)
    , m_linhas(linhas)
    , m_cabecalho(cabecalho)
    , m_sugerido(sugereMapeamento(linhas, cabecalho, separador))
{
    ui->setupUi(this);
    mostraAmostra();
    const ColunasExtrato &c = m_sugerido.colunas;
    preencheColunas(ui->comboBox_data, c.data, false);
    preencheColunas(ui->comboBox_fornecedor, c.fornecedor.value(0, -1), false);
    preencheColunas(ui->comboBox_valor, c.valor, true);
    preencheColunas(ui->comboBox_entrada, c.entrada, true);
    preencheColunas(ui->comboBox_saida, c.saida, true);
    preencheColunas(ui->comboBox_descricao, c.descricao.value(0, -1), true);
    preencheColunas(ui->comboBox_parcela, m_sugerido.colunaParcela, true);
    for (const QString &formato : formatosDeData())
        ui->comboBox_formatoData->addItem(formato, formato);
    escolhe(ui->comboBox_formatoData, m_sugerido.formatoData);
    ui->comboBox_notacao->addItem(QStringLiteral("vírgula decimal (1.234,56)"), int(NotacaoValor::VirgulaDecimal));
    ui->comboBox_notacao->addItem(QStringLiteral("ponto decimal (1,234.56)"), int(NotacaoValor::PontoDecimal));
    escolhe(ui->comboBox_notacao, int(m_sugerido.notacao));
    ui->comboBox_sinal->addItem(QStringLiteral("valor negativo (conta corrente)"), int(Sinal::SaidaNegativa));
    ui->comboBox_sinal->addItem(QStringLiteral("valor positivo (fatura de cartão)"), int(Sinal::SaidaPositiva));
    escolhe(ui->comboBox_sinal, int(m_sugerido.sinal));
}

MapeamentoColunas::~MapeamentoColunas()
{
    delete ui;
}

LayoutExtrato MapeamentoColunas::layout() const
{
    LayoutExtrato layout = m_sugerido;
    ColunasExtrato &c = layout.colunas;
    c.data = ui->comboBox_data->currentData().toInt();
    c.fornecedor = {ui->comboBox_fornecedor->currentData().toInt()};
    c.valor = ui->comboBox_valor->currentData().toInt();
    c.entrada = c.valor < 0 ? ui->comboBox_entrada->currentData().toInt() : -1;
    c.saida = c.valor < 0 ? ui->comboBox_saida->currentData().toInt() : -1;
    c.descricao = {ui->comboBox_descricao->currentData().toInt()};
    layout.formatoData = ui->comboBox_formatoData->currentData().toString();
    layout.notacao = NotacaoValor(ui->comboBox_notacao->currentData().toInt());
    layout.sinal = Sinal(ui->comboBox_sinal->currentData().toInt());
    layout.colunaParcela = ui->comboBox_parcela->currentData().toInt();
    return layout;
}

// Taken only when the whole file reads with the columns chosen; otherwise
// the user sees which line did not and corrects the choice.
void MapeamentoColunas::accept()
{
    const LayoutExtrato escolhido = layout();
    const ColunasExtrato &c = escolhido.colunas;
    QString erro;
    if (c.valor < 0 && (c.entrada < 0 || c.saida < 0))
        erro = QStringLiteral("Escolha a coluna do valor, ou as colunas de entradas e de saídas.");
    else
        erro = leCsvDoBanco(m_linhas, m_cabecalho, escolhido).erro;
    if (!erro.isEmpty()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Colunas do extrato"),
                    QStringLiteral("O arquivo não pode ser lido com essas colunas."), {erro, {}, {}});
        return;
    }
    QDialog::accept();
}

void MapeamentoColunas::mostraAmostra()
{
    QTableWidget *tabela = ui->tableWidget_amostra;
    tabela->setColumnCount(m_sugerido.cabecalho.size());
    tabela->setHorizontalHeaderLabels(m_sugerido.cabecalho);
    for (int n = m_cabecalho + 1; n < m_linhas.size() && tabela->rowCount() < linhasNaAmostra; ++n) {
        const QStringList campos = camposDaLinha(m_linhas.at(n), m_sugerido.separador, Aspas::Protegem);
        tabela->insertRow(tabela->rowCount());
        for (int c = 0; c < qMin(campos.size(), tabela->columnCount()); ++c)
            tabela->setItem(tabela->rowCount() - 1, c, new QTableWidgetItem(campos.at(c)));
    }
}

void MapeamentoColunas::preencheColunas(QComboBox *combo, int escolhida, bool opcional)
{
    if (opcional)
        combo->addItem(QStringLiteral("(nenhuma)"), -1);
    for (int c = 0; c < m_sugerido.cabecalho.size(); ++c)
        combo->addItem(m_sugerido.cabecalho.at(c), c);
    escolhe(combo, escolhida);
}

void MapeamentoColunas::escolhe(QComboBox *combo, const QVariant &valor)
{
    combo->setCurrentIndex(qMax(0, combo->findData(valor)));
}
