#include "register/lancamentos.h"
#include "ui_lancamentos.h"

#include "accounts/tabelacontas.h"
#include "categories/tabelacategorias.h"
#include "database/larguradascolunas.h"
#include "messages/formatacao.h"
#include "register/divisaodegasto.h"
#include "register/escolhasdegasto.h"
#include "register/formulariogasto.h"
#include "register/modelolancamentos.h"
#include "register/tabelalancamentos.h"

#include <QSignalBlocker>

namespace {

const int pausaNaDigitacao = 300; // ms

QDate primeiroDia(const QDate &data)
{
    return QDate(data.year(), data.month(), 1);
}

int chaveEscolhida(const QComboBox *caixa)
{
    const QVariant chave = caixa->currentData();
    return chave.isValid() ? chave.toInt() : FiltroLancamentos::todas;
}

} // namespace

Lancamentos::Lancamentos(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Lancamentos)
    , modelo(new ModeloLancamentos(this))
{
    ui->setupUi(this);
    ui->tableView_lancamentos->setModel(modelo);
    // Newest first, as the model starts; sorting is the model's, on the server.
    ui->tableView_lancamentos->horizontalHeader()->setSortIndicator(int(ColunaLancamento::Data), Qt::DescendingOrder);
    ui->tableView_lancamentos->setSortingEnabled(true);
    const QDate mes = primeiroDia(QDate::currentDate());
    ui->dateEdit_de->setDate(mes);
    ui->dateEdit_ate->setDate(mes);
    adiamentoDaBusca.setSingleShot(true);
    adiamentoDaBusca.setInterval(pausaNaDigitacao);
    connect(&adiamentoDaBusca, &QTimer::timeout, this, &Lancamentos::filtrar);
    connect(ui->lineEdit_busca, &QLineEdit::textChanged, &adiamentoDaBusca, qOverload<>(&QTimer::start));
    for (QDateEdit *mesLimite : {ui->dateEdit_de, ui->dateEdit_ate})
        connect(mesLimite, &QDateEdit::dateChanged, this, &Lancamentos::filtrar);
    for (QComboBox *lista : {ui->comboBox_categoria, ui->comboBox_conta})
        connect(lista, qOverload<int>(&QComboBox::currentIndexChanged), this, &Lancamentos::filtrar);
    connect(modelo, &ModeloLancamentos::falhou, this,
            [this](const Motivo &motivo) { falhou(QStringLiteral("A lista de gastos não pôde ser lida."), motivo); });
}

Lancamentos::~Lancamentos()
{
    delete ui;
}

void Lancamentos::setupData()
{
    const Resultado<QVector<QPair<int, QString>>> categorias = TabelaCategorias::listar();
    const Resultado<QVector<Conta>> contas = TabelaContas::listar();
    if (!categorias.ok() || !contas.ok()) {
        falhou(QStringLiteral("Erro na leitura do banco de dados"), categorias.ok() ? contas.motivo() : categorias.motivo());
        return;
    }
    {
        const QSignalBlocker semFiltrar(ui->comboBox_categoria);
        const QSignalBlocker nemAqui(ui->comboBox_conta);
        ui->comboBox_categoria->addItem(QStringLiteral("Todas as categorias"), FiltroLancamentos::todas);
        acrescentaCategorias(ui->comboBox_categoria, categorias.valor());
        ui->comboBox_conta->addItem(QStringLiteral("Todas as contas"), FiltroLancamentos::todas);
        acrescentaContas(ui->comboBox_conta, contas.valor());
    }
    if (listar())
        ajustaLarguraDasColunas(ui->tableView_lancamentos);
}

FiltroLancamentos Lancamentos::filtroDaTela() const
{
    FiltroLancamentos filtro = modelo->filtro(); // in the order the user chose
    filtro.texto = ui->lineEdit_busca->text();
    const bool periodo = ui->checkBox_periodo->isChecked();
    const QDate de = primeiroDia(ui->dateEdit_de->date());
    const QDate ate = primeiroDia(ui->dateEdit_ate->date());
    filtro.de = periodo ? qMin(de, ate) : QDate();
    filtro.ate = periodo ? qMax(de, ate) : QDate();
    filtro.idCategoria = chaveEscolhida(ui->comboBox_categoria);
    filtro.idConta = chaveEscolhida(ui->comboBox_conta);
    return filtro;
}

bool Lancamentos::listar(int idSelecionado)
{
    adiamentoDaBusca.stop();
    const Resultado<> listado = modelo->listar(filtroDaTela());
    if (!listado.ok()) {
        falhou(QStringLiteral("A lista de gastos não pôde ser lida."), listado.motivo());
        return false;
    }
    mostraResumo();
    const int linha = modelo->linhaDoGasto(idSelecionado);
    if (linha >= 0) {
        ui->tableView_lancamentos->selectRow(linha);
        ui->tableView_lancamentos->scrollTo(modelo->index(linha, 0));
    }
    return true;
}

void Lancamentos::mostraResumo()
{
    const Resultado<TabelaLancamentos::Resumo> resumo = TabelaLancamentos::resumo(modelo->filtro());
    ui->label_resumo->setText(resumo.ok() ? contagem(resumo.valor().quantos, "%1 gasto, total de %2",
                                                     "%1 gastos, total de %2")
                                                .arg(centavosEmReais(resumo.valor().centavos))
                                          : resumo.motivo().texto);
}

void Lancamentos::filtrar()
{
    listar();
}

void Lancamentos::on_lineEdit_busca_returnPressed()
{
    listar();
}

void Lancamentos::on_checkBox_periodo_toggled(bool marcado)
{
    ui->dateEdit_de->setEnabled(marcado);
    ui->dateEdit_ate->setEnabled(marcado);
    listar();
}

void Lancamentos::on_tableView_lancamentos_doubleClicked(const QModelIndex &index)
{
    editar(index.row());
}

void Lancamentos::on_pushButton_editar_clicked()
{
    const int linha = linhaEscolhida();
    if (linha >= 0)
        editar(linha);
}

// The row shows the change at once, where it stands, until the next listing.
void Lancamentos::editar(int linha)
{
    if (!FormularioGasto::abrir(modelo->linha(linha).idGasto, this))
        return;
    const Resultado<> atualizada = modelo->atualizar(linha);
    if (!atualizada.ok())
        falhou(QStringLiteral("A lista de gastos não pôde ser lida."), atualizada.motivo());
    mostraResumo();
}

void Lancamentos::on_pushButton_novo_clicked()
{
    const int idGasto = FormularioGasto::abrir(0, this);
    if (idGasto)
        listar(idGasto);
}

void Lancamentos::on_pushButton_dividir_clicked()
{
    const int linha = linhaEscolhida();
    if (linha < 0)
        return;
    const int idGasto = modelo->linha(linha).idGasto;
    if (DivisaoDeGasto::dividir(idGasto, this))
        listar(idGasto);
}

void Lancamentos::on_pushButton_apagar_clicked()
{
    const QModelIndexList linhas = ui->tableView_lancamentos->selectionModel()->selectedRows();
    if (linhas.isEmpty()) {
        mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nenhuma Seleção"),
                    QStringLiteral("Escolha na lista os gastos a apagar."));
        return;
    }
    QVector<int> ids;
    qint64 total = 0;
    for (const QModelIndex &linha : linhas) {
        ids << modelo->linha(linha.row()).idGasto;
        total += modelo->linha(linha.row()).centavos;
    }
    const QString pergunta = contagem(ids.size(), "Apagar %1 gasto, total de %2?", "Apagar %1 gastos, total de %2?")
                                 .arg(centavosEmReais(total));
    if (mostraPergunta(this, QStringLiteral("Apagar gastos"), pergunta, QStringLiteral("Um gasto apagado não volta."),
                       {{QMessageBox::Cancel, QStringLiteral("Voltar")}, {QMessageBox::Yes, QStringLiteral("Apagar")}})
        != QMessageBox::Yes)
        return;
    const Resultado<> apagados = TabelaLancamentos::apagar(ids);
    if (!apagados.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Apagar gastos"),
                    QStringLiteral("Nenhum gasto foi apagado."), apagados.motivo());
        return;
    }
    listar();
}

int Lancamentos::linhaEscolhida()
{
    const QModelIndexList linhas = ui->tableView_lancamentos->selectionModel()->selectedRows();
    if (linhas.size() == 1)
        return linhas.first().row();
    mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nenhuma Seleção"),
                QStringLiteral("Escolha um gasto na lista."),
                {QStringLiteral("Editar e Dividir valem para um gasto de cada vez."), {}, {}});
    return -1;
}

void Lancamentos::falhou(const QString &texto, const Motivo &motivo)
{
    mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Lançamentos"), texto, motivo);
}
