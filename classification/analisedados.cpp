#include "classification/analisedados.h"
#include "ui_analisedados.h"

#include "classification/classificacaodegastos.h"
#include "database/tabelaconsulta.h"
#include "messages/motivoerro.h"
#include "rules/cadastroderegras.h"

#include <QDebug>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {

const QStringList &nomesDosMeses()
{
    static const QStringList nomes {
        QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Março"),
        QStringLiteral("Abril"), QStringLiteral("Maio"), QStringLiteral("Junho"),
        QStringLiteral("Julho"), QStringLiteral("Agosto"), QStringLiteral("Setembro"),
        QStringLiteral("Outubro"), QStringLiteral("Novembro"), QStringLiteral("Dezembro"),
    };
    return nomes;
}

// A supplier that contains the filter lists the expense whatever its
// category; a description only while the expense is still unclassified, or
// when it was classified a moment ago (:classificados, keys separated by
// commas), so that the user sees what became of it. The month is a range
// on the full date, which the index on data serves.
const char consultaDeGastos[] =
    "SELECT idGasto, DATE_FORMAT(data, '%d/%m/%y') AS Data, fornecedor AS Fornecedor, "
    "descricao AS Descrição, IFNULL(categoria.categoria, 'Não Classificado') AS categoria, "
    "valor AS Valor "
    "FROM gastos LEFT JOIN categoria ON gastos.idCategoria = categoria.idCategoria "
    "WHERE (fornecedor LIKE CONCAT('%', :filtro, '%') "
    "OR descricao LIKE CONCAT('%', :filtro, '%') AND categoria.idCategoria IS NULL "
    "OR FIND_IN_SET(idGasto, :classificados)) "
    "AND data >= :inicio AND data < :fim "
    "ORDER BY categoria.idCategoria ASC, data ASC, categoria ASC, fornecedor ASC, descricao ASC";

void informar(QWidget *pai, const QString &texto, const Motivo &motivo = {})
{
    mostraCaixa(pai, QMessageBox::Information, QStringLiteral("Informação"), texto, motivo);
}

QString porQueNenhum(int mes, int ano, const QString &filtro)
{
    const QString periodo = QStringLiteral("%1/%2").arg(mes, 2, 10, QLatin1Char('0')).arg(ano);
    return filtro.isEmpty() ? QStringLiteral("Não há gastos de %1.").arg(periodo)
                            : QStringLiteral("Nenhum gasto de %1 tem “%2” no fornecedor ou na descrição.")
                                  .arg(periodo, filtro);
}

} // namespace

AnaliseDados::AnaliseDados(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::AnaliseDados)
    , modeloCategoria(nullptr)
    , consultaGastos(QString::fromUtf8(consultaDeGastos))
{
    ui->setupUi(this);
    ui->lineEdit_filtro->setClearButtonEnabled(true);
    dataAtual = QDate::currentDate();

    for (int mes = 1; mes <= nomesDosMeses().size(); ++mes)
        ui->comboBox_mes->addItem(nomesDosMeses().at(mes - 1), mes);
    ui->comboBox_mes->setCurrentIndex(dataAtual.month() - 1);

    ui->spinBox_ano->setMaximum(2050);
    ui->spinBox_ano->setMinimum(2020);
    ui->spinBox_ano->setValue(dataAtual.year());
}

AnaliseDados::~AnaliseDados()
{
    delete ui;
}

void AnaliseDados::setupData()
{
    montaWidgetDados(dataAtual.month(), dataAtual.year(), QString());

    // Owned by the dialog, so it goes when the dialog does.
    modeloCategoria = new QSqlQueryModel(this);
    ui->tableView_categoria->setWordWrap(true);
    ui->tableView_categoria->setModel(modeloCategoria);
    listaCategorias();
}

void AnaliseDados::listaCategorias()
{
    modeloCategoria->setQuery(
        QStringLiteral("SELECT idCategoria, categoria as Categoria FROM categoria ORDER BY categoria ASC"));
    ui->tableView_categoria->resizeRowsToContents();
    ui->tableView_categoria->hideColumn(0);
}

void AnaliseDados::on_pushButton_filtro_clicked()
{
    listaPelosCampos({});
}

// The month, year and filter the widgets show, as "Filtrar" takes them.
void AnaliseDados::listaPelosCampos(const QList<int> &classificados)
{
    const int mes = ui->comboBox_mes->currentData(Qt::UserRole).toInt();
    listaGastos(mes, ui->spinBox_ano->value(), ui->lineEdit_filtro->text(), classificados);
}

void AnaliseDados::montaWidgetDados(int mes, int ano, QString filtro)
{
    listaGastos(mes, ano, filtro, {});
}

void AnaliseDados::listaGastos(int mes, int ano, const QString &filtro, const QList<int> &classificados)
{
    QSqlQuery consulta;
    consulta.prepare(consultaGastos);
    // A null text would go to the server as NULL and match nothing, where
    // an empty filter has to match every text.
    consulta.bindValue(QStringLiteral(":filtro"), filtro.isNull() ? QStringLiteral("") : filtro);
    QStringList chaves;
    for (const int id : classificados)
        chaves << QString::number(id);
    consulta.bindValue(QStringLiteral(":classificados"), chaves.join(QLatin1Char(',')));
    const QDate inicio(ano, mes, 1);
    consulta.bindValue(QStringLiteral(":inicio"), inicio);
    consulta.bindValue(QStringLiteral(":fim"), inicio.addMonths(1));

    if (!consulta.exec()) {
        informar(this, QStringLiteral("Erro na leitura do Banco de Dados"), motivoDoErro(consulta.lastError()));
        return;
    }
    if (consulta.size() == 0) {
        informar(this, QStringLiteral("Registros não encontrados"), {porQueNenhum(mes, ano, filtro), {}});
        return;
    }

    const QStringList rotulos {
        QStringLiteral("ID"), QStringLiteral("Data"), QStringLiteral("Fornecedor"),
        QStringLiteral("Descrição"), QStringLiteral("Categoria"), QStringLiteral("Valor(R$)"),
    };
    preencheTabelaComConsulta(rotulos, &consulta, ui->tableWidget_dados);

    ui->tableWidget_dados->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->tableWidget_dados->hideColumn(0);
    ui->tableWidget_dados->setSortingEnabled(true);
}

void AnaliseDados::on_pushButton_classificar_clicked()
{
    const QModelIndexList categorias = ui->tableView_categoria->selectionModel()->selectedIndexes();
    if (categorias.isEmpty()) {
        informar(this, QStringLiteral("Nenhuma categoria selecionada."),
                 {QStringLiteral("Selecione na lista a categoria a dar aos gastos selecionados."), {}});
        return;
    }
    const QAbstractItemModel *modelo = ui->tableView_categoria->model();
    const int linhaDaCategoria = categorias.first().row();
    const int idCategoriaEscolhida = modelo->index(linhaDaCategoria, 0).data().toInt();

    // One key per selected cell, repeats included: a whole row gives its key
    // once for each of its columns. The debug lines list them so.
    const QAbstractItemModel *gastos = ui->tableWidget_dados->model();
    QList<int> idsGastos;
    const QModelIndexList celulas = ui->tableWidget_dados->selectionModel()->selectedIndexes();
    for (const QModelIndex &celula : celulas)
        idsGastos.append(gastos->index(celula.row(), 0).data().toInt());
    qDebug() << idsGastos;
    if (idsGastos.isEmpty())
        return;

    const Resultado<Classificacao> resultado = ClassificacaoDeGastos::classificar(idsGastos, idCategoriaEscolhida);
    if (!resultado.ok())
        qDebug() << resultado.motivo().detalhes;
    for (const int idGasto : qAsConst(idsGastos))
        qDebug() << idGasto;
    if (!resultado.ok()) {
        const Motivo &motivo = resultado.motivo();
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"),
                    QStringLiteral("O banco de dados recusou a classificação."),
                    {motivo.texto + QStringLiteral(" Nenhum gasto foi classificado."), motivo.detalhes});
    } else if (resultado.valor() == Classificacao::Feita) {
        listaPelosCampos(idsGastos);
        if (ui->checkBox_regra->isChecked())
            criaRegraDoFiltro(idCategoriaEscolhida, modelo->index(linhaDaCategoria, 1).data().toString());
    } else {
        const QString nome = modelo->index(linhaDaCategoria, 1).data().toString();
        listaCategorias();
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Categoria apagada"),
                    QStringLiteral("A categoria \"%1\" foi apagada em outra janela.").arg(nome),
                    {QStringLiteral("Nenhum gasto foi classificado; a lista de categorias foi atualizada."), {}});
    }
}

// A rule that classifies what the filter lists among the expenses without
// category: it looks into supplier and description, wildcards and all, as
// the filter does. The box stays ticked, so that the next "Classificar"
// under the same filter changes that rule rather than adding another.
void AnaliseDados::criaRegraDoFiltro(int idCategoria, const QString &categoria)
{
    const QString filtro = ui->lineEdit_filtro->text();
    if (filtro.trimmed().isEmpty())
        return;
    const Resultado<bool> alterou = CadastroDeRegras::criarDoFiltro(filtro, idCategoria);
    if (!alterou.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"),
                    QStringLiteral("As despesas foram classificadas, mas a regra não pôde ser criada."),
                    alterou.motivo());
        return;
    }
    if (alterou.valor())
        informar(this, QStringLiteral("A regra “%1” já existia e foi alterada.").arg(filtro),
                 {QStringLiteral("Ela agora dá a categoria “%1” às despesas sem categoria que o filtro "
                                 "listaria.").arg(categoria), {}});
}
