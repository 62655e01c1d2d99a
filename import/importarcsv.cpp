#include "import/importarcsv.h"
#include "ui_importarcsv.h"

#include "accounts/contadoextrato.h"
#include "accounts/tabelamovimentos.h"
#include "database/larguradascolunas.h"
#include "database/sql.h"
#include "database/transacao.h"
#include "database/travanomeada.h"
#include "import/contadaimportacao.h"
#include "import/gradedaprevia.h"
#include "import/historicodeimportacoes.h"
#include "import/linhasrepetidas.h"
#include "import/mapeamentocolunas.h"
#include "import/mapeamentosalvo.h"
#include "import/motivoimportacao.h"
#include "import/progresso.h"
#include "instalments/tabelacompras.h"
#include "messages/motivoerro.h"
#include "rules/cadastroderegras.h"
#include "statements/arquivoextrato.h"
#include "statements/leitorproprio.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

#include <QAction>
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
    "INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria, idImportacao, idTransacao, contaExtrato, "
    "idConta, parcela, parcelas, idCompra) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

const QString layoutProprio = QStringLiteral("Finara (CSV)");

// Another desktop's import of a large statement takes a while.
const int segundosDeEspera = 60;

using GradeDaPrevia::Destino;

// What the insert binds for a row: its fields, the category the rules give
// it, the import's key, the bank's id, the account the file named, the
// household's account and the instalment.
QVariantList valoresDaLinha(const GradeDaPrevia::Linha &linha, const QVariant &categoria, int idImportacao,
                            int idConta, int idCompra)
{
    return {*linha.data, linha.fornecedor, valorParaBanco(*linha.centavos), linha.descricao, categoria,
            idImportacao, Sql::textoOuNulo(linha.idBanco), Sql::textoOuNulo(linha.conta), Sql::chaveOuNulo(idConta),
            Sql::chaveOuNulo(linha.parcela), Sql::chaveOuNulo(linha.parcelas), Sql::chaveOuNulo(idCompra)};
}

// Income and transfers, as the account saw them: money in positive.
Movimento movimentoDaLinha(const GradeDaPrevia::Linha &linha, int idImportacao, int idConta)
{
    return {*linha.data, linha.fornecedor, linha.descricao, -*linha.centavos, idConta, idImportacao,
            linha.idBanco, linha.conta};
}

// The user's words for where a row goes, in the grid's context menu.
const QVector<QPair<Destino, QString>> &destinosNoMenu()
{
    static const QVector<QPair<Destino, QString>> destinos {
        {Destino::Gasto, QStringLiteral("Importar como gasto")},
        {Destino::Entrada, QStringLiteral("Importar como entrada")},
        {Destino::Transferencia, QStringLiteral("Importar como transferência entre contas")},
        {Destino::DeFora, QStringLiteral("Deixar de fora")},
    };
    return destinos;
}

} // namespace

ImportarCSV::ImportarCSV(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ImportarCSV)
{
    ui->setupUi(this);
    ui->label_importado->hide();
    repetidas = new LinhasRepetidas(ui->tableWidget_dados);
    conta = new ContaDaImportacao(ui->comboBox_conta, ui->pushButton_novaConta, this);
    connect(conta, &ContaDaImportacao::mudou, this, [this] { repetidas->defineConta(conta->escolhida()); });
    criaMenuDaGrade();
}

// Where the selected rows go, whatever the file said they are.
void ImportarCSV::criaMenuDaGrade()
{
    QTableWidget *grade = ui->tableWidget_dados;
    grade->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const auto &[destino, texto] : destinosNoMenu()) {
        auto *acao = new QAction(texto, grade);
        connect(acao, &QAction::triggered, this, [grade, destino = destino] {
            // Each change is an edit of the grid, which marks its rows again.
            for (const QModelIndex &linha : grade->selectionModel()->selectedRows())
                GradeDaPrevia::defineDestino(grade, linha.row(), destino);
        });
        grade->addAction(acao);
    }
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
        // Our layout says nothing of an account: none is remembered for it.
        if (deOutraConta(QString(), tabela))
            return false;
        const LeituraPropria leitura = leLayoutProprio(linhasDoExtrato(textoDoExtrato(arquivo.bytes)));
        GradeDaPrevia::acrescentaCelulas(tabela, leitura, carga);
        nomeDoLayout = layoutProprio;
        conta->arquivoLido(QString(), std::nullopt);
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
    // A mapped file is told from another by its header.
    const QString identidade = leitura.linhas.first().conta
                               + (mapeado ? QStringLiteral(": ") + mapeado->cabecalho.join(QLatin1Char(',')) : QString());
    if (deOutraConta(identidade, tabela))
        return false;
    nomeDoLayout = leitura.layout;
    GradeDaPrevia::acrescentaLinhas(tabela, leitura.linhas, carga);
    conta->arquivoLido(identidade, mapeado ? std::nullopt : contaDoExtrato(leitura.linhas.first(), leitura.layout));
    return true;
}

// One import, one account: a file of another account is read on its own,
// or its rows would be stored, and checked for repeats, as this one's.
bool ImportarCSV::deOutraConta(const QString &identidade, const QTableWidget *tabela)
{
    if (tabela->rowCount() == 0 || identidade == conta->identidade())
        return false;
    motivoDaLeitura = {QStringLiteral("Este extrato é de outra conta que o da grade, e cada importação é de uma "
                                      "conta só: nada foi lido."),
                       QStringLiteral("Importe primeiro as linhas da grade, ou feche esta janela e leia o extrato "
                                      "numa importação à parte."),
                       {}};
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
    // One import at a time across the household's desktops, its repeated rows
    // looked for again once it holds the lock: what another desktop imported
    // meanwhile is then repeated, not written twice.
    const TravaNomeada trava(QStringLiteral("importacao"), segundosDeEspera);
    if (!trava.obtida().ok()) {
        motivoDaImportacao = trava.obtida().motivo();
        return false;
    }
    const Resultado<> marcadas = repetidas->marcar();
    if (!marcadas.ok()) {
        motivoDaImportacao = marcadas.motivo();
        return false;
    }
    const QVector<int> linhas = linhasAGravar(tableWidget);
    if (linhaRecusada >= 0)
        return false;
    const Resultado<> feito = emTransacao(bancoDaTransacao(), [&] { return grava(tableWidget, linhas); });
    if (!feito.ok() && motivoDaImportacao.texto.isEmpty())
        motivoDaImportacao = bancoDaTransacao().isOpen() ? feito.motivo() : semConexao();
    return feito.ok();
}

// The rows that go in: a row left out stays out, and so do the repeated rows
// when the user chose only the new ones. A row whose date or amount does
// not read stops the import before anything is sent, as the row the user
// has to correct; so does income whose money did not come in.
QVector<int> ImportarCSV::linhasAGravar(QTableWidget *tabela)
{
    QVector<int> linhas;
    for (int n = 0; n < tabela->rowCount(); ++n) {
        const GradeDaPrevia::Linha linha = GradeDaPrevia::linha(tabela, n);
        if (linha.destino == Destino::DeFora) {
            resultado.naoGastos << linha;
            continue;
        }
        if (deixarRepetidas && repetidas->repetida(n)) {
            ++resultado.repetidasDeixadas;
            continue;
        }
        std::optional<Motivo> motivo = motivoDaCelulaRecusada(n, GradeDaPrevia::celulas(tabela, n));
        if (!motivo && linha.destino == Destino::Entrada && *linha.centavos >= 0)
            motivo = Motivo {QStringLiteral("Linha %1: uma entrada é dinheiro que entrou na conta, com valor negativo "
                                            "na grade; esta tem %2.\nImporte-a como gasto ou corrija o valor.")
                                 .arg(QString::number(n + 1), GradeDaPrevia::celulas(tabela, n).at(2)),
                             {}, {}};
        if (motivo) {
            linhaRecusada = n;
            motivoDaImportacao = *motivo;
            return {};
        }
        linhas << n;
    }
    return linhas;
}

// Inside the import's transaction: its account and record, each expense
// with the category the rules give it, income and transfers in their own
// tables (a transfer paired with its other side when that is in), the
// expenses its repeated rows stand for, its totals.
Resultado<> ImportarCSV::grava(QTableWidget *tabela, const QVector<int> &linhas)
{
    const Resultado<int> idConta = conta->gravar();
    if (!idConta.ok())
        return idConta.motivo();
    const Resultado<int> idImportacao =
        HistoricoDeImportacoes::abrir(origem.arquivos(), origem.sha256(), nomeDoLayout, idConta.valor());
    if (!idImportacao.ok())
        return idImportacao.motivo();
    QVector<GradeDaPrevia::Linha> gastos;
    QVector<int> linhasDosGastos;
    for (const int n : linhas) {
        const GradeDaPrevia::Linha linha = GradeDaPrevia::linha(tabela, n);
        if (linha.destino == Destino::Gasto) {
            gastos << linha;
            linhasDosGastos << n;
            continue;
        }
        const Movimento movimento = movimentoDaLinha(linha, idImportacao.valor(), idConta.valor());
        const Resultado<> movido = TabelaMovimentos::inserir(linha.destino == Destino::Entrada
                                                                  ? TabelaMovimentos::Tipo::Entrada
                                                                  : TabelaMovimentos::Tipo::Transferencia,
                                                              movimento);
        if (!movido.ok()) {
            linhaRecusada = n;
            return motivoDaImportacao = {QStringLiteral("Linha %1: ").arg(n + 1) + movido.motivo().texto,
                                         movido.motivo().detalhes, movido.motivo().codigo};
        }
        resultado.naoGastos << linha;
    }
    Resultado<> feito = gravaGastos(gastos, linhasDosGastos, idImportacao.valor(), idConta.valor());
    if (feito.ok())
        feito = TabelaMovimentos::pareiaTransferencias(idImportacao.valor());
    if (feito.ok())
        feito = HistoricoDeImportacoes::anotaRepetidas(idImportacao.valor(), deixarRepetidas
                                                                                 ? repetidas->guardadas()
                                                                                 : HistoricoDeImportacoes::Repetidas());
    const Resultado<HistoricoDeImportacoes::Gravado> gravado =
        feito.ok() ? HistoricoDeImportacoes::concluir(idImportacao.valor()) : feito.motivo();
    if (!gravado.ok())
        return gravado.motivo();
    resultado.gravadas = gravado.valor().gastos;
    resultado.centavos = gravado.valor().centavos;
    resultado.linhas = gravado.valor().linhas;
    return Feito();
}

// One prepared insert for every expense: a statement has thousands.
Resultado<> ImportarCSV::gravaGastos(const QVector<GradeDaPrevia::Linha> &gastos, const QVector<int> &linhas,
                                     int idImportacao, int idConta)
{
    QList<QPair<QString, QString>> textos;
    for (const GradeDaPrevia::Linha &gasto : gastos)
        textos << qMakePair(gasto.fornecedor, gasto.descricao);
    const Resultado<QVector<QVariant>> lidas = CadastroDeRegras::categoriasDasNovas(textos);
    if (!lidas.ok())
        return lidas.motivo();
    const QVector<QVariant> &categorias = lidas.valor();
    // Each instalment is written with its purchase, found or made first.
    QVector<ParcelaNova> parcelas;
    QVector<int> parcelaDoGasto;
    for (const GradeDaPrevia::Linha &gasto : gastos) {
        parcelaDoGasto << (gasto.parcela > 0 ? parcelas.size() : -1);
        if (gasto.parcela > 0)
            parcelas.append({gasto.fornecedor, gasto.parcela, gasto.parcelas, *gasto.centavos, *gasto.data,
                             gasto.dataDaCompra});
    }
    const Resultado<QVector<TabelaCompras::DaCompra>> compras = TabelaCompras::vincula(parcelas, idConta);
    if (!compras.ok())
        return compras.motivo();
    // A failed prepare shows up as the failure of the first row.
    QSqlQuery insercao;
    insercao.prepare(sqlInsercao);
    Progresso progresso(QStringLiteral("Importando o extrato..."), this);
    progresso.definirTotal(gastos.size());
    for (int i = 0; i < gastos.size(); ++i) {
        const TabelaCompras::DaCompra compra =
            parcelaDoGasto.at(i) < 0 ? TabelaCompras::DaCompra() : compras.valor().at(parcelaDoGasto.at(i));
        // A category the rules gave stays; otherwise an instalment takes its purchase's.
        const bool pelaCompra = categorias.at(i).isNull() && compra.idCategoria;
        const QVariantList valores = valoresDaLinha(gastos.at(i), pelaCompra ? compra.idCategoria : categorias.at(i),
                                                    idImportacao, idConta, compra.idCompra);
        for (int v = 0; v < valores.size(); ++v)
            insercao.bindValue(v, valores.at(v));
        if (!insercao.exec()) {
            qDebug() << "Erro ao inserir dados:" << insercao.lastError().text();
            linhaRecusada = linhas.at(i);
            motivoDaImportacao = motivoDaLinhaRecusada(linhaRecusada, insercao.lastError());
            return motivoDaImportacao;
        }
        resultado.classificadasPorRegras += !categorias.at(i).isNull();
        resultado.classificadasPelaCompra += pelaCompra;
        progresso.avancar(i + 1);
    }
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
    const bool gravou = resultado.linhas > 0;
    mostraCaixa(this, QMessageBox::Information,
                gravou ? QStringLiteral("Importação concluída") : QStringLiteral("Nada para importar"),
                gravou ? QStringLiteral("O extrato foi importado.") : QStringLiteral("Nenhuma linha nova foi gravada."),
                {textoDoResumo(resultado), detalhesDoResumo(resultado), {}});
    close();
}

// Without a handle from the main window the transaction cannot begin, which
// reports the failure the same way as a closed handle.
QSqlDatabase ImportarCSV::bancoDaTransacao() const
{
    return db ? *db : QSqlDatabase();
}

// After the error box, so the user sees at once which row was refused: the
// row made current is scrolled into view.
void ImportarCSV::mostraLinhaRecusada()
{
    QTableWidget *tabela = ui->tableWidget_dados;
    if (linhaRecusada < 0 || linhaRecusada >= tabela->rowCount())
        return;
    tabela->selectRow(linhaRecusada);
}
