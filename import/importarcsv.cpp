#include "import/importarcsv.h"
#include "ui_importarcsv.h"

#include "database/larguradascolunas.h"
#include "database/sql.h"
#include "database/transacao.h"
#include "import/gradedaprevia.h"
#include "import/historicodeimportacoes.h"
#include "import/linhasrepetidas.h"
#include "import/mapeamentocolunas.h"
#include "import/mapeamentosalvo.h"
#include "import/motivoimportacao.h"
#include "import/progresso.h"
#include "messages/motivoerro.h"
#include "rules/cadastroderegras.h"
#include "statements/arquivoextrato.h"
#include "statements/leitorproprio.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

#include <QDebug>
#include <QFileDialog>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

namespace {

// The category is the first matching classification rule's, or NULL.
const QString sqlInsercao = QStringLiteral(
    "INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria, idImportacao, idTransacao, contaExtrato) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

const QString layoutProprio = QStringLiteral("Finara (CSV)");

// What the insert binds for a row: its fields, the category the rules give
// it, the import's key, the bank's id and the account the file named.
QVariantList valoresDaLinha(const GradeDaPrevia::Linha &linha, const QVariant &categoria, int idImportacao)
{
    return {*linha.data, linha.fornecedor, valorParaBanco(*linha.centavos), linha.descricao, categoria,
            idImportacao, Sql::textoOuNulo(linha.idBanco), Sql::textoOuNulo(linha.conta)};
}

} // namespace

ImportarCSV::ImportarCSV(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ImportarCSV)
{
    ui->setupUi(this);
    ui->label_importado->hide();
    repetidas = new LinhasRepetidas(ui->tableWidget_dados);
}

ImportarCSV::~ImportarCSV()
{
    delete ui;
}

void ImportarCSV::setupData(QSqlDatabase *db)
{
    this->db = db;
}

bool ImportarCSV::deleteSelectedRow(QTableWidget *tableWidget)
{
    const QList<QTableWidgetItem *> selecionados = tableWidget->selectedItems();
    if (selecionados.isEmpty())
        return false;
    const int linha = selecionados.first()->row();
    const auto resposta = QMessageBox::question(tableWidget, QStringLiteral("Confirmar Remoção"),
                                                QStringLiteral("Você deseja remover a linha selecionada?"),
                                                QMessageBox::Yes | QMessageBox::No);
    if (resposta == QMessageBox::Yes)
        tableWidget->removeRow(linha);
    return true;
}

bool ImportarCSV::loadCsvIntoTableWidget(QString filePath, QTableWidget *tableWidget)
{
    const ArquivoExtrato arquivo = abreExtrato(filePath);
    if (!arquivo.erro.isEmpty()) {
        motivoDaLeitura = {arquivo.erro, {}, {}};
        return false;
    }
    const int linhasAntes = tableWidget->rowCount();
    const bool lido = leArquivo(arquivo, tableWidget);
    // Red rows entered the grid too and may be imported: their file counts.
    if (tableWidget->rowCount() > linhasAntes) {
        ui->label_layout->setText(QStringLiteral("Layout reconhecido: %1").arg(nomeDoLayout));
        const QString jaImportado = origem.lido(filePath, arquivo.bytes);
        ui->label_importado->setText(jaImportado);
        ui->label_importado->setVisible(!jaImportado.isEmpty());
        // Once per load, here rather than on the fill's own notices, so that
        // no marking is left pending to run in the middle of a later import.
        repetidas->marcar();
    }
    return lido;
}

// Each file's rows carry the number of its load, so that a file read twice,
// or statements that overlap, show their repeated rows before the import.
bool ImportarCSV::leArquivo(const ArquivoExtrato &arquivo, QTableWidget *tabela)
{
    const int carga = ++cargas;
    if (arquivo.reconhecimento.tipo == TipoDeExtrato::Proprio) {
        // The whole file at once: its encoding can only be told from all of it.
        const LeituraPropria leitura = leLayoutProprio(linhasDoExtrato(textoDoExtrato(arquivo.bytes)));
        GradeDaPrevia::acrescentaCelulas(tabela, leitura, carga);
        nomeDoLayout = layoutProprio;
        motivoDaLeitura = {leitura.erro, {}, {}};
        return leitura.erro.isEmpty();
    }
    std::optional<LayoutExtrato> mapeado;
    if (arquivo.reconhecimento.tipo == TipoDeExtrato::Mapeavel && !(mapeado = layoutMapeado(arquivo))) {
        motivoDaLeitura = {QStringLiteral("As colunas do arquivo não foram escolhidas; nada foi lido."), {}, {}};
        return false;
    }
    const LeituraExtrato leitura = leExtrato(arquivo.bytes, arquivo.reconhecimento, mapeado ? &*mapeado : nullptr);
    motivoDaLeitura = {leitura.erro, {}, {}};
    if (!leitura.erro.isEmpty())
        return false;
    nomeDoLayout = leitura.layout;
    GradeDaPrevia::acrescentaLinhas(tabela, leitura.linhas, carga);
    return true;
}

// The mapping kept for the file's header, or the one the user makes now,
// kept for the next file with that header.
std::optional<LayoutExtrato> ImportarCSV::layoutMapeado(const ArquivoExtrato &arquivo)
{
    const QStringList linhas = linhasDoExtrato(textoDoExtrato(arquivo.bytes));
    const Reconhecimento &reconhecimento = arquivo.reconhecimento;
    const QString &cabecalho = linhas.at(reconhecimento.cabecalho);
    const Resultado<std::optional<LayoutExtrato>> salvo = MapeamentoSalvo::busca(cabecalho);
    if (salvo.ok() && salvo.valor())
        return salvo.valor();
    MapeamentoColunas dialogo(linhas, reconhecimento.cabecalho, reconhecimento.separador, this);
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    const Resultado<> gravado = MapeamentoSalvo::grava(cabecalho, dialogo.layout());
    if (!gravado.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Colunas do extrato"),
                    QStringLiteral("As colunas escolhidas valem para este arquivo, mas não puderam ser guardadas "
                                   "para o próximo."),
                    gravado.motivo());
    return dialogo.layout();
}

bool ImportarCSV::insertTableWidgetDataToDatabase(QTableWidget *tableWidget)
{
    linhaRecusada = -1;
    resultado = ResultadoImportacao();
    motivoDaImportacao = Motivo();
    const QVector<int> linhas = linhasAGravar(tableWidget);
    if (linhaRecusada >= 0)
        return false;
    const Resultado<> feito = emTransacao(bancoDaTransacao(), [&] { return grava(tableWidget, linhas); });
    if (!feito.ok() && motivoDaImportacao.texto.isEmpty())
        motivoDaImportacao = bancoDaTransacao().isOpen() ? feito.motivo() : semConexao();
    return feito.ok();
}

// The rows that go in: what is not spending and was not ticked stays out,
// and so do the repeated rows when the user chose only the new ones. A row
// whose date or amount does not read stops the import before anything is
// sent, as the row the user has to correct.
QVector<int> ImportarCSV::linhasAGravar(QTableWidget *tabela)
{
    QVector<int> linhas;
    for (int n = 0; n < tabela->rowCount(); ++n) {
        const GradeDaPrevia::Linha linha = GradeDaPrevia::linha(tabela, n);
        if (linha.deFora) {
            resultado.deFora << linha;
            continue;
        }
        if (deixarRepetidas && repetidas->repetida(n)) {
            ++resultado.repetidasDeixadas;
            continue;
        }
        if (const std::optional<Motivo> motivo = motivoDaCelulaRecusada(n, GradeDaPrevia::celulas(tabela, n))) {
            linhaRecusada = n;
            motivoDaImportacao = *motivo;
            return {};
        }
        linhas << n;
    }
    return linhas;
}

// Inside the import's transaction: its record, each row with the category
// the rules give it, the expenses its repeated rows stand for, its totals.
Resultado<> ImportarCSV::grava(QTableWidget *tabela, const QVector<int> &linhas)
{
    const Resultado<int> idImportacao = HistoricoDeImportacoes::abrir(origem.arquivos(), origem.sha256(), nomeDoLayout);
    if (!idImportacao.ok())
        return idImportacao.motivo();
    QVector<GradeDaPrevia::Linha> lidas;
    QList<QPair<QString, QString>> textos;
    for (const int n : linhas) {
        lidas << GradeDaPrevia::linha(tabela, n);
        textos << qMakePair(lidas.last().fornecedor, lidas.last().descricao);
    }
    QVector<QVariant> categorias;
    if (!CadastroDeRegras::categoriasDasNovas(textos, &categorias))
        return Motivo {QStringLiteral("As regras de classificação não puderam ser lidas; nada foi gravado."), {}, {}};
    // A failed prepare shows up as the failure of the first row.
    QSqlQuery insercao;
    insercao.prepare(sqlInsercao);
    Progresso progresso(QStringLiteral("Importando o extrato..."), this);
    progresso.definirTotal(lidas.size());
    for (int i = 0; i < lidas.size(); ++i) {
        const QVariantList valores = valoresDaLinha(lidas.at(i), categorias.at(i), idImportacao.valor());
        for (int v = 0; v < valores.size(); ++v)
            insercao.bindValue(v, valores.at(v));
        if (!insercao.exec()) {
            qDebug() << "Erro ao inserir dados:" << insercao.lastError().text();
            linhaRecusada = linhas.at(i);
            motivoDaImportacao = motivoDaLinhaRecusada(linhaRecusada, insercao.lastError());
            return motivoDaImportacao;
        }
        resultado.classificadasPorRegras += !categorias.at(i).isNull();
        progresso.avancar(i + 1);
    }
    const Resultado<> anotadas =
        HistoricoDeImportacoes::anotaRepetidas(idImportacao.valor(), deixarRepetidas ? repetidas->gastosRepetidos()
                                                                                     : QVector<int>());
    const Resultado<HistoricoDeImportacoes::Gravado> gravado = HistoricoDeImportacoes::concluir(idImportacao.valor());
    if (!anotadas.ok() || !gravado.ok())
        return anotadas.ok() ? gravado.motivo() : anotadas.motivo();
    resultado.gravadas = gravado.valor().gastos;
    resultado.centavos = gravado.valor().centavos;
    return Feito();
}

void ImportarCSV::on_pushButton_lercsv_clicked()
{
    const QString caminho = QFileDialog::getOpenFileName(
        this, QStringLiteral("Abrir Arquivo"), QString(),
        QStringLiteral("Extratos bancários (*.csv *.ofx *.txt);;Arquivos de Texto (*.csv)"));
    if (caminho.isEmpty()) {
        mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Erro ao selecionar"),
                    QStringLiteral("Você não escolheu um arquivo"),
                    {QStringLiteral("A leitura foi cancelada; a grade ficou como estava."), {}, {}});
        return;
    }
    const bool lido = loadCsvIntoTableWidget(caminho, ui->tableWidget_dados);
    // Also after a refused file: its rows stay in the grid for the user to fix.
    ajustaLarguraDasColunas(ui->tableWidget_dados);
    if (!lido) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"), QStringLiteral("Erro de leitura no arquivo"),
                    motivoDaLeitura);
        return;
    }
    ui->tableWidget_dados->show();
    ui->tableWidget_dados->verticalHeader()->setStretchLastSection(true);
}

void ImportarCSV::on_tableWidget_dados_doubleClicked(const QModelIndex &index)
{
    Q_UNUSED(index)
    if (!deleteSelectedRow(ui->tableWidget_dados)) {
        mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nenhuma Seleção"),
                    QStringLiteral("Nenhuma linha foi selecionada."));
    }
}

void ImportarCSV::on_pushButton_importar_clicked()
{
    const QString faltaAtualizar = HistoricoDeImportacoes::faltaAtualizar();
    if (!faltaAtualizar.isEmpty()) {
        mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Banco de dados desatualizado"), faltaAtualizar);
        return;
    }
    if (ui->tableWidget_dados->rowCount() == 0) {
        mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nada para importar"),
                    QStringLiteral("A grade está vazia: nada foi gravado."),
                    {QStringLiteral("Leia um extrato com “Ler CSV” e importe de novo."), {}, {}});
        return;
    }
    repetidas->marcar();
    const LinhasRepetidas::Escolha escolha = repetidas->perguntar(this);
    if (escolha == LinhasRepetidas::Escolha::Voltar)
        return;
    deixarRepetidas = escolha == LinhasRepetidas::Escolha::SoNovas;
    if (!insertTableWidgetDataToDatabase(ui->tableWidget_dados)) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"), QStringLiteral("Erro ao importar arquivo"),
                    motivoDaImportacao);
        mostraLinhaRecusada();
        return;
    }
    const bool gravou = resultado.gravadas > 0;
    mostraCaixa(this, QMessageBox::Information,
                gravou ? QStringLiteral("Importação concluída") : QStringLiteral("Nada para importar"),
                gravou ? QStringLiteral("O extrato foi importado.") : QStringLiteral("Nenhum gasto novo foi gravado."),
                {textoDoResumo(resultado), detalhesDoResumo(resultado), {}});
    close();
}

// Without a handle from the main window the transaction cannot begin, which
// reports the failure the same way as a closed handle.
QSqlDatabase ImportarCSV::bancoDaTransacao() const
{
    return db ? *db : QSqlDatabase();
}

// After the error box, so the user sees at once which row was refused.
void ImportarCSV::mostraLinhaRecusada()
{
    QTableWidget *tabela = ui->tableWidget_dados;
    if (linhaRecusada < 0 || linhaRecusada >= tabela->rowCount())
        return;
    tabela->selectRow(linhaRecusada);
    tabela->scrollTo(tabela->model()->index(linhaRecusada, 0));
}
