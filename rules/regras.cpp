#include "rules/regras.h"
#include "ui_regras.h"

#include "rules/cadastroderegras.h"

#include <QHash>
#include <QMessageBox>
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
    QList<QPair<int, QString>> categorias;
    if (!CadastroDeRegras::categorias(&categorias) || !listar()) {
        falhou(QStringLiteral("Erro na leitura do banco de dados"));
        return;
    }
    for (const auto &categoria : qAsConst(categorias))
        ui->comboBox_categoria->addItem(categoria.second, categoria.first);
    ui->comboBox_categoria->setCurrentIndex(-1);
}

bool Regras::listar(int idSelecionada)
{
    if (!CadastroDeRegras::listar(&regras))
        return false;
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
    return true;
}

// The form as a rule, or false after saying what is missing.
bool Regras::regraDoFormulario(Regra *regra)
{
    if (ui->lineEdit_padrao->text().trimmed().isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Regra incompleta"),
                             QStringLiteral("Escreva o texto que a regra procura."));
        ui->lineEdit_padrao->setFocus();
        return false;
    }
    if (ui->comboBox_categoria->currentIndex() < 0) {
        QMessageBox::warning(this, QStringLiteral("Regra incompleta"),
                             QStringLiteral("Escolha a categoria que a regra dá às despesas."));
        return false;
    }
    regra->padrao = ui->lineEdit_padrao->text();
    regra->campo = CampoDaRegra(ui->comboBox_campo->currentData().toInt());
    regra->idCategoria = ui->comboBox_categoria->currentData().toInt();
    return true;
}

int Regras::selecionada()
{
    const QList<QTableWidgetSelectionRange> faixas = ui->tableWidget_regras->selectedRanges();
    if (!faixas.isEmpty())
        return faixas.first().topRow();
    QMessageBox::information(this, QStringLiteral("Nenhuma seleção"),
                             QStringLiteral("Selecione uma regra da lista."));
    return -1;
}

void Regras::falhou(const QString &texto)
{
    QMessageBox::critical(this, QStringLiteral("Erro"), texto);
}

void Regras::on_pushButton_adicionar_clicked()
{
    Regra regra;
    if (!regraDoFormulario(&regra))
        return;
    if (!CadastroDeRegras::inserir(regra) || !listar()) {
        falhou(QStringLiteral("Erro ao gravar a regra"));
        return;
    }
    ui->tableWidget_regras->selectRow(regras.size() - 1);
}

void Regras::on_pushButton_alterar_clicked()
{
    const int linha = selecionada();
    Regra regra;
    if (linha < 0 || !regraDoFormulario(&regra))
        return;
    regra.id = regras.at(linha).id;
    if (!CadastroDeRegras::alterar(regra) || !listar(regra.id))
        falhou(QStringLiteral("Erro ao gravar a regra"));
}

void Regras::on_pushButton_apagar_clicked()
{
    const int linha = selecionada();
    if (linha < 0)
        return;
    const QString pergunta = QStringLiteral("Deseja realmente apagar a regra “%1”?").arg(regras.at(linha).padrao);
    if (QMessageBox::question(this, QStringLiteral("Apagar regra"), pergunta) != QMessageBox::Yes)
        return;
    if (!CadastroDeRegras::apagar(regras.at(linha).id) || !listar())
        falhou(QStringLiteral("Erro ao apagar a regra"));
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
    if (!CadastroDeRegras::reordenar(ids) || !listar(ids.at(linha + passo)))
        falhou(QStringLiteral("Erro ao mudar a ordem das regras"));
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
    QHash<int, int> porRegra;
    if (!CadastroDeRegras::contar(&porRegra)) {
        falhou(QStringLiteral("Erro ao contar as despesas que as regras classificariam"));
        return;
    }
    const int total = std::accumulate(porRegra.cbegin(), porRegra.cend(), 0);
    if (total == 0) {
        QMessageBox::information(this, QStringLiteral("Aplicar regras"),
                                 QStringLiteral("Nenhuma despesa não classificada combina com as regras."));
        return;
    }
    const QString pergunta =
        QStringLiteral("As regras classificariam %1 despesa(s):\n\n%2\n\nDeseja aplicá-las?")
            .arg(total)
            .arg(linhasDaContagem(regras, porRegra).join(QLatin1Char('\n')));
    if (QMessageBox::question(this, QStringLiteral("Aplicar regras"), pergunta) != QMessageBox::Yes)
        return;
    int classificadas = 0;
    if (!CadastroDeRegras::aplicar(&classificadas)) {
        falhou(QStringLiteral("Erro ao aplicar as regras; nenhuma despesa foi alterada"));
        return;
    }
    QMessageBox::information(this, QStringLiteral("Aplicar regras"),
                             QStringLiteral("%1 despesa(s) classificada(s).").arg(classificadas));
}
