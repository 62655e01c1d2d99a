#include "import/importarcsv.h"
#include "ui_importarcsv.h"

#include "database/larguradascolunas.h"
#include "import/conversaoextrato.h"
#include "import/motivoimportacao.h"
#include "import/leitordeextrato.h"
#include "import/historicodeimportacoes.h"
#include "import/linhasrepetidas.h"
#include "import/preenchimentoembloco.h"
#include "import/progresso.h"
#include "messages/motivoerro.h"
#include "rules/cadastroderegras.h"

#include <QBrush>
#include <QDebug>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

namespace {

const int colunas = 4;

// The category is the first matching classification rule's, or NULL.
QString sqlInsercao()
{
    return QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria, idImportacao, "
                          "idTransacao) VALUES (?, ?, ?, ?, ?, ?, ?)");
}

QTableWidgetItem *novoItem(const QString &texto, bool malformada)
{
    auto *item = new QTableWidgetItem(texto);
    if (malformada)
        item->setBackground(QBrush(Qt::red, Qt::SolidPattern));
    return item;
}

// The lines go in above the rows already there, in file order, red from the
// first line without exactly four fields on; the description cell of a line
// with more holds the rest of it. Returns whether every line had four.
bool preencheGrade(QTableWidget *tabela, const QStringList &linhas, Progresso &progresso)
{
    progresso.definirTotal(linhas.size());
    bool malformada = false;
    preencheEmBloco(tabela, linhas.size(), [&](int linha) {
        const QStringList campos = camposDaLinha(linhas.at(linha), colunas);
        malformada = malformada || linhas.at(linha).count(QLatin1Char(';')) != colunas - 1;
        for (int c = 0; c < qMin(campos.size(), colunas); ++c)
            tabela->setItem(linha, c, novoItem(campos.at(c), malformada));
        progresso.avancar(linha + 1);
    });
    return !malformada;
}

// A cell without an item is an empty text, never NULL.
QString textoDaCelula(const QTableWidget *tabela, int linha, int coluna)
{
    const QTableWidgetItem *item = tabela->item(linha, coluna);
    const QString texto = item ? item->text() : QString();
    return texto.isNull() ? QStringLiteral("") : texto;
}

// Supplier and description of each row, for the classification rules.
QList<QPair<QString, QString>> textosDaGrade(const QTableWidget *tabela)
{
    QList<QPair<QString, QString>> textos;
    for (int linha = 0; linha < tabela->rowCount(); ++linha)
        textos << qMakePair(textoDaCelula(tabela, linha, 1), textoDaCelula(tabela, linha, 3));
    return textos;
}

QString dataDaLinha(const QTableWidget *tabela, int linha)
{
    return dataParaBanco(textoDaCelula(tabela, linha, 0));
}

// Date, supplier and amount as written: what tells repeated rows apart.
QStringList chaveDaLinha(const QTableWidget *tabela, int linha)
{
    return {dataDaLinha(tabela, linha), textoDaCelula(tabela, linha, 1),
            valorParaBanco(textoDaCelula(tabela, linha, 2))};
}

QStringList registroDaLinha(const QTableWidget *tabela, int linha)
{
    return chaveDaLinha(tabela, linha) << textoDaCelula(tabela, linha, 3);
}

// The bank's id of the row's transaction, when its file had one.
QVariant idTransacao(const QTableWidget *tabela, int linha)
{
    const QTableWidgetItem *item = tabela->item(linha, 0);
    const QString id = item ? item->data(Qt::UserRole).toString() : QString();
    return id.isEmpty() ? QVariant(QVariant::String) : QVariant(id);
}

// What the insert binds for a row: its fields, the category the rules give it, the
// import's key and the bank's id.
QVariantList valoresDaLinha(const QTableWidget *tabela, int linha, const QVariant &categoria, int idImportacao)
{
    QVariantList valores;
    for (const QString &campo : registroDaLinha(tabela, linha))
        valores << campo;
    return valores << categoria << idImportacao << idTransacao(tabela, linha);
}

void desfazTransacao(QSqlDatabase &banco)
{
    if (!banco.rollback())
        qDebug() << "Erro ao fazer rollback:" << banco.lastError().text();
}

} // namespace

ImportarCSV::ImportarCSV(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ImportarCSV)
{
    qRegisterMetaType<QList<QStringList>>("QList<QStringList>");
    ui->setupUi(this);
    ui->label_importado->hide();
    repetidas = new LinhasRepetidas(ui->tableWidget_dados, dataDaLinha, chaveDaLinha);
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
    const LeituraExtrato extrato = LeitorDeExtrato(this).le(filePath);
    if (!extrato.erro.isEmpty()) {
        motivoDaLeitura = {extrato.erro, {}};
        return false;
    }
    nomeDoLayout = extrato.proprio ? QStringLiteral("Finara (CSV)") : extrato.layout;
    ui->label_layout->setText(QStringLiteral("Layout reconhecido: %1").arg(nomeDoLayout));
    const int linhasAntes = tableWidget->rowCount();
    const bool lido = !extrato.proprio || leLayoutProprio(extrato, tableWidget);
    if (!extrato.proprio)
        LeitorDeExtrato::acrescentaNaGrade(tableWidget, extrato.lancamentos);
    // Red rows entered the grid too and may be imported: their file counts.
    if (tableWidget->rowCount() > linhasAntes) {
        const QString jaImportado = origem.lido(filePath, extrato.bytes);
        ui->label_importado->setText(jaImportado);
        ui->label_importado->setVisible(!jaImportado.isEmpty());
        // Once per load, here rather than on the fill's own notices, so that
        // no marking is left pending to run in the middle of a later import.
        repetidas->marcar();
    }
    return lido;
}

bool ImportarCSV::leLayoutProprio(const LeituraExtrato &extrato, QTableWidget *tableWidget)
{
    if (!extrato.inteiro) {
        motivoDaLeitura = motivoDoExtratoIlegivel({});
        return false;
    }
    Progresso progresso(QStringLiteral("Lendo o extrato..."), this);
    // The whole file at once: its encoding can only be told from all of it.
    const QStringList linhas = linhasDoExtrato(textoDoExtrato(extrato.bytes));
    // A line no record can hold would only be refused by the server, after
    // costing seconds and memory in the grid.
    const int linhaLonga = linhaLongaDemais(linhas);
    if (linhaLonga >= 0) {
        motivoDaLeitura = {QStringLiteral("A linha %1 do arquivo passa de %2 caracteres, mais do que um gasto "
                                          "pode guardar. Nenhuma linha do arquivo foi lida.")
                               .arg(linhaLonga + 1)
                               .arg(maximoDaLinha),
                           {}};
        return false;
    }
    const bool lido = preencheGrade(tableWidget, linhas, progresso);
    motivoDaLeitura = lido ? Motivo() : motivoDoExtratoIlegivel(linhas);
    return lido;
}

bool ImportarCSV::insertDataToDatabase(QList<QStringList> data)
{
    QSqlQuery query;
    query.prepare(sqlInsercao());
    for (const QStringList &registro : qAsConst(data)) {
        if (registro.size() < colunas) {
            qDebug() << "Linha incompleta no CSV.";
            return false;
        }
        QVariantList valores(registro.begin(), registro.begin() + colunas);
        // No category, import or bank id.
        valores << QVariant(QVariant::Int) << QVariant(QVariant::Int) << QVariant(QVariant::String);
        if (!insereRegistro(query, valores))
            return false;
    }
    return true;
}

bool ImportarCSV::insertTableWidgetDataToDatabase(QTableWidget *tableWidget)
{
    linhaRecusada = -1;
    resultado = ResultadoImportacao();
    QSqlQuery query;
    QSqlDatabase banco = bancoDaTransacao();
    if (!banco.transaction()) {
        erroDaImportacao = banco.lastError();
        qDebug() << "Erro ao iniciar a transação:" << banco.lastError().text();
        return false;
    }
    const int idImportacao = HistoricoDeImportacoes::abrir(origem.arquivos(), origem.sha256(), nomeDoLayout);
    const Resultado<QVector<QVariant>> categorias = CadastroDeRegras::categoriasDasNovas(textosDaGrade(tableWidget));
    if (idImportacao < 0 || !categorias.ok()) {
        desfazTransacao(banco);
        return false;
    }
    // A failed prepare shows up as the failure of the first row.
    query.prepare(sqlInsercao());
    Progresso progresso(QStringLiteral("Importando o extrato..."), this);
    progresso.definirTotal(tableWidget->rowCount());
    for (int linha = 0; linha < tableWidget->rowCount(); ++linha) {
        const bool deixada = deixarRepetidas && repetidas->repetida(linha);
        resultado.repetidasDeixadas += deixada;
        const QVariant &categoria = categorias.valor().at(linha);
        if (!deixada && !insereRegistro(query, valoresDaLinha(tableWidget, linha, categoria, idImportacao))) {
            linhaRecusada = linha;
            erroDaImportacao = query.lastError();
            desfazTransacao(banco);
            return false;
        }
        resultado.classificadasPorRegras += !deixada && !categoria.isNull();
        progresso.avancar(linha + 1);
    }
    if (!HistoricoDeImportacoes::concluir(idImportacao, &resultado)) {
        desfazTransacao(banco);
        return false;
    }
    if (!banco.commit()) {
        erroDaImportacao = banco.lastError();
        qDebug() << "Erro ao fazer commit:" << banco.lastError().text();
        return false;
    }
    return true;
}

void ImportarCSV::on_pushButton_lercsv_clicked()
{
    const QString caminho = QFileDialog::getOpenFileName(
        this, QStringLiteral("Abrir Arquivo"), QString(),
        QStringLiteral("Extratos bancários (*.csv *.ofx *.txt);;Arquivos de Texto (*.csv)"));
    if (caminho.isEmpty()) {
        mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Erro ao selecionar"),
                    QStringLiteral("Você não escolheu um arquivo"),
                    {QStringLiteral("A leitura foi cancelada; a grade ficou como estava."), {}});
        return;
    }
    const bool lido = loadCsvIntoTableWidget(caminho, ui->tableWidget_dados);
    // Also after a refused file: its rows stay in the grid for the user to fix.
    ajustaLarguraDasColunas(ui->tableWidget_dados);
    if (!lido) {
        mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Erro"), QStringLiteral("Erro de leitura no arquivo"),
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
    repetidas->marcar();
    const LinhasRepetidas::Escolha escolha = repetidas->perguntar(this);
    if (escolha == LinhasRepetidas::Escolha::Voltar)
        return;
    deixarRepetidas = escolha == LinhasRepetidas::Escolha::SoNovas;
    if (insertTableWidgetDataToDatabase(ui->tableWidget_dados)) {
        mostraCaixa(this, QMessageBox::Information, QStringLiteral("Importação concluída"),
                    QStringLiteral("O extrato foi importado."), {textoDoResumo(resultado), {}});
        close();
        return;
    }
    mostraCaixa(this, QMessageBox::Information, QStringLiteral("Erro"), QStringLiteral("Erro ao importar arquivo"),
                motivoDaImportacaoRecusada());
    mostraLinhaRecusada();
}

// Without a handle from the main window the transaction cannot begin, which
// reports the failure the same way as a closed handle.
QSqlDatabase ImportarCSV::bancoDaTransacao() const
{
    return db ? *db : QSqlDatabase();
}

bool ImportarCSV::insereRegistro(QSqlQuery &query, const QVariantList &valores)
{
    for (int i = 0; i < valores.size(); ++i)
        query.bindValue(i, valores.at(i), QSql::In);
    if (!query.exec()) {
        qDebug() << "Erro ao inserir dados:" << query.lastError().text();
        return false;
    }
    return true;
}

// After the error box, so the user sees at once which row the server refused.
void ImportarCSV::mostraLinhaRecusada()
{
    QTableWidget *tabela = ui->tableWidget_dados;
    if (linhaRecusada < 0 || linhaRecusada >= tabela->rowCount())
        return;
    tabela->selectRow(linhaRecusada);
    tabela->scrollTo(tabela->model()->index(linhaRecusada, 0));
}

Motivo ImportarCSV::motivoDaImportacaoRecusada() const
{
    if (linhaRecusada >= 0) {
        const QTableWidget *tabela = ui->tableWidget_dados;
        QStringList celulas;
        for (int coluna = 0; coluna < colunas; ++coluna)
            celulas << textoDaCelula(tabela, linhaRecusada, coluna);
        return motivoDaLinhaRecusada(linhaRecusada, celulas, erroDaImportacao);
    }
    return bancoDaTransacao().isOpen() ? motivoDoErro(erroDaImportacao) : semConexao();
}
