#include "rules/regras.h"
#include "ui_regras.h"

#include "messages/caixamensagem.h"
#include "rules/cadastroderegras.h"

#include <QHash>
#include <QTableWidgetItem>

#include <numeric>

namespace {

const QString apagada = QStringLiteral("(categoria apagada)");
const QString doFiltro = QStringLiteral("Criada na classificação: “%” vale qualquer texto e “_” qualquer letra, "
                                        "como no filtro.");
const int linhasNaPergunta = 15;

QTableWidgetItem *item(const QString &texto, bool desativada)
{
    auto *novo = new QTableWidgetItem(texto);
    if (desativada)
        novo->setForeground(Qt::gray);
    return novo;
}

QString linhaDaContagem(const Regra &regra, int despesas)
{
    // One arg() call, so that a "%1" in the pattern stays text.
    return QStringLiteral("“%1” (%2) → %3: %4").arg(regra.padrao, descricaoDoCampo(regra.campo).rotulo,
                                                     regra.categoria, QString::number(despesas));
}

// One line per rule that would classify something, in the rules' order; a
// long list is cut, so the box stays shorter than the screen.
QStringList linhasDaContagem(const QList<Regra> &regras, const QHash<int, int> &porRegra)
{
    QStringList linhas;
    for (const Regra &regra : regras) {
        if (porRegra.value(regra.id) > 0)
            linhas << linhaDaContagem(regra, porRegra.value(regra.id));
    }
    if (linhas.size() > linhasNaPergunta) {
        const int restantes = linhas.size() - linhasNaPergunta;
        linhas = linhas.mid(0, linhasNaPergunta) << QStringLiteral("… e mais %1 regra(s)").arg(restantes);
    }
    return linhas;
}

} // namespace

Regras::Regras(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Regras)
{
    ui->setupUi(this);
    for (const DescricaoDoCampo &campo : camposDeRegra())
        ui->comboBox_campo->addItem(campo.rotulo, int(campo.campo));
    ui->comboBox_campo->setCurrentIndex(ui->comboBox_campo->findData(int(CampoDaRegra::Ambos)));
}

Regras::~Regras()
{
    delete ui;
}

void Regras::setupData()
{
    const Resultado<QList<QPair<int, QString>>> categorias = CadastroDeRegras::categorias();
    const Resultado<> listadas = categorias.ok() ? listar() : Resultado<>(categorias.motivo());
    if (!listadas.ok()) {
        falhou(QStringLiteral("Erro na leitura do banco de dados"), listadas.motivo());
        return;
    }
    for (const auto &categoria : categorias.valor())
        ui->comboBox_categoria->addItem(categoria.second, categoria.first);
    ui->comboBox_categoria->setCurrentIndex(-1);
}

Resultado<> Regras::listar(int idSelecionada)
{
    const Resultado<QList<Regra>> lidas = CadastroDeRegras::listar();
    if (!lidas.ok())
        return lidas.motivo();
    regras = lidas.valor();
    QTableWidget *tabela = ui->tableWidget_regras;
    tabela->clear();
    tabela->setColumnCount(3);
    tabela->setHorizontalHeaderLabels(
        {QStringLiteral("Padrão"), QStringLiteral("Campo"), QStringLiteral("Categoria")});
    tabela->setRowCount(regras.size());
    for (int linha = 0; linha < regras.size(); ++linha) {
        const Regra &regra = regras.at(linha);
        tabela->setItem(linha, 0, item(regra.padrao, regra.categoriaApagada));
        if (regra.curingas)
            tabela->item(linha, 0)->setToolTip(doFiltro);
        tabela->setItem(linha, 1, item(descricaoDoCampo(regra.campo).rotulo, regra.categoriaApagada));
        const QString categoria = regra.categoriaApagada ? apagada : regra.categoria;
        tabela->setItem(linha, 2, item(categoria, regra.categoriaApagada));
        if (regra.id == idSelecionada)
            tabela->selectRow(linha);
    }
    tabela->resizeColumnsToContents();
    tabela->horizontalHeader()->setStretchLastSection(true);
    return Feito();
}

// The form as a rule, or false after saying what is missing.
bool Regras::regraDoFormulario(Regra *regra)
{
    if (ui->lineEdit_padrao->text().trimmed().isEmpty()) {
        incompleta(QStringLiteral("Escreva o texto que a regra procura."));
        ui->lineEdit_padrao->setFocus();
        return false;
    }
    if (ui->comboBox_categoria->currentIndex() < 0) {
        incompleta(QStringLiteral("Escolha a categoria que a regra dá às despesas."));
        return false;
    }
    regra->padrao = ui->lineEdit_padrao->text();
    regra->campo = CampoDaRegra(ui->comboBox_campo->currentData().toInt());
    regra->idCategoria = ui->comboBox_categoria->currentData().toInt();
    return true;
}

void Regras::incompleta(const QString &falta)
{
    mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Regra incompleta"), falta);
}

int Regras::selecionada()
{
    const QList<QTableWidgetSelectionRange> faixas = ui->tableWidget_regras->selectedRanges();
    if (!faixas.isEmpty())
        return faixas.first().topRow();
    mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nenhuma seleção"),
                QStringLiteral("Selecione uma regra da lista."));
    return -1;
}

void Regras::falhou(const QString &texto, const Motivo &motivo)
{
    mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Erro"), texto, motivo);
}

// A change, then the list read again; the first of the two to fail is told.
bool Regras::grava(const Resultado<> &mudanca, const QString &erro, int idSelecionada)
{
    const Resultado<> feito = mudanca.ok() ? listar(idSelecionada) : mudanca;
    if (!feito.ok())
        falhou(erro, feito.motivo());
    return feito.ok();
}

void Regras::on_pushButton_adicionar_clicked()
{
    Regra regra;
    if (!regraDoFormulario(&regra))
        return;
    if (grava(CadastroDeRegras::inserir(regra), QStringLiteral("Erro ao gravar a regra")))
        ui->tableWidget_regras->selectRow(regras.size() - 1);
}

void Regras::on_pushButton_alterar_clicked()
{
    const int linha = selecionada();
    Regra regra;
    if (linha < 0 || !regraDoFormulario(&regra))
        return;
    regra.id = regras.at(linha).id;
    grava(CadastroDeRegras::alterar(regra), QStringLiteral("Erro ao gravar a regra"), regra.id);
}

void Regras::on_pushButton_apagar_clicked()
{
    const int linha = selecionada();
    if (linha < 0)
        return;
    const QString pergunta = QStringLiteral("Deseja realmente apagar a regra “%1”?").arg(regras.at(linha).padrao);
    if (mostraCaixa(this, QMessageBox::Question, QStringLiteral("Apagar regra"), pergunta, {},
                    QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    grava(CadastroDeRegras::apagar(regras.at(linha).id), QStringLiteral("Erro ao apagar a regra"));
}

void Regras::on_pushButton_subir_clicked()
{
    mover(-1);
}

void Regras::on_pushButton_descer_clicked()
{
    mover(1);
}

void Regras::mover(int passo)
{
    const int linha = selecionada();
    if (linha < 0 || linha + passo < 0 || linha + passo >= regras.size())
        return;
    QList<int> ids;
    for (const Regra &regra : qAsConst(regras))
        ids << regra.id;
    ids.swapItemsAt(linha, linha + passo);
    grava(CadastroDeRegras::reordenar(ids), QStringLiteral("Erro ao mudar a ordem das regras"), ids.at(linha + passo));
}

void Regras::on_tableWidget_regras_itemSelectionChanged()
{
    const QList<QTableWidgetSelectionRange> faixas = ui->tableWidget_regras->selectedRanges();
    if (faixas.isEmpty())
        return;
    const Regra &regra = regras.at(faixas.first().topRow());
    ui->lineEdit_padrao->setText(regra.padrao);
    ui->comboBox_campo->setCurrentIndex(ui->comboBox_campo->findData(int(regra.campo)));
    ui->comboBox_categoria->setCurrentIndex(
        regra.categoriaApagada ? -1 : ui->comboBox_categoria->findData(regra.idCategoria));
}

// The count first, then the question, then every rule in one transaction.
void Regras::on_pushButton_aplicar_clicked()
{
    const QString titulo = QStringLiteral("Aplicar regras");
    const Resultado<QHash<int, int>> porRegra = CadastroDeRegras::contar();
    if (!porRegra.ok()) {
        falhou(QStringLiteral("Erro ao contar as despesas que as regras classificariam"), porRegra.motivo());
        return;
    }
    const int total = std::accumulate(porRegra.valor().cbegin(), porRegra.valor().cend(), 0);
    if (total == 0) {
        mostraCaixa(this, QMessageBox::Information, titulo,
                    QStringLiteral("Nenhuma despesa não classificada combina com as regras."));
        return;
    }
    const QString pergunta =
        QStringLiteral("As regras classificariam %1 despesa(s):\n\n%2\n\nDeseja aplicá-las?")
            .arg(total)
            .arg(linhasDaContagem(regras, porRegra.valor()).join(QLatin1Char('\n')));
    if (mostraCaixa(this, QMessageBox::Question, titulo, pergunta, {}, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const Resultado<int> classificadas = CadastroDeRegras::aplicar();
    if (!classificadas.ok()) {
        falhou(QStringLiteral("Erro ao aplicar as regras; nenhuma despesa foi alterada"), classificadas.motivo());
        return;
    }
    mostraCaixa(this, QMessageBox::Information, titulo,
                QStringLiteral("%1 despesa(s) classificada(s).").arg(classificadas.valor()));
}
