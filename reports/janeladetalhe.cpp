#include "reports/janeladetalhe.h"

#include "database/larguradascolunas.h"
#include "database/tabelaconsulta.h"
#include "instalments/compromissos.h"
#include "instalments/tabelacompras.h"
#include "messages/caixamensagem.h"
#include "messages/formatacao.h"
#include "register/formulariogasto.h"

#include <QDate>
#include <QDebug>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// idGasto trails the four columns shown, so that a double-click opens the expense,
// and the instalment's number, so that its purchase is named.
const char *const sqlDaCategoria = R"(SELECT data as Data, fornecedor as Fornecedor, descricao as 'Descrição', valor as Valor, idGasto, parcela
    FROM gastos
    WHERE idCategoria=:idCat AND YEAR(data) = :year AND MONTH(data) = :month)";

// Exactly what the report gathers under "Não Classificado": a NULL key and a
// key that names no category alike.
const char *const sqlSemCategoria = R"(SELECT gastos.data as Data, gastos.fornecedor as Fornecedor, gastos.descricao as 'Descrição', gastos.valor as Valor, gastos.idGasto, gastos.parcela
    FROM gastos LEFT JOIN categoria ON gastos.idCategoria = categoria.idCategoria
    WHERE categoria.idCategoria IS NULL AND YEAR(gastos.data) = :year AND MONTH(gastos.data) = :month)";

const int semCategoria = 0;
const int colunaDescricao = 2;
const int colunaValor = 3;
const int colunaChave = 4;
const int colunaParcela = 5;

// "Parcela 3 de 10 — compra de 05/09/2026, total R$ 1.200,00" after the
// description; nothing more where the purchase cannot be read.
bool nomeiaACompra(QTableWidgetItem *descricao, int idGasto, int parcela)
{
    const Resultado<std::optional<Compra>> compra = TabelaCompras::daParcela(idGasto);
    if (!compra.ok() || !compra.valor())
        return false;
    const QString texto = descricaoDaParcela(*compra.valor(), parcela);
    descricao->setText(descricao->text().isEmpty() ? texto : descricao->text() + QStringLiteral(" — ") + texto);
    descricao->setToolTip(texto);
    return true;
}

bool executaDetalhe(QSqlQuery &consulta, int id, const QDate &data)
{
    if (id == semCategoria) {
        consulta.prepare(QString::fromUtf8(sqlSemCategoria));
    } else {
        consulta.prepare(QString::fromUtf8(sqlDaCategoria));
        consulta.bindValue(QStringLiteral(":idCat"), id);
    }
    consulta.bindValue(QStringLiteral(":year"), data.year());
    consulta.bindValue(QStringLiteral(":month"), data.month());
    const bool executou = consulta.exec();
    if (!executou)
        qDebug() << "Erro ao executar a query:" << consulta.lastError().text();
    return executou;
}

} // namespace

JanelaDetalhe::JanelaDetalhe(int id, const QDate &data, QString nome, QWidget *parent)
    : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *tabela = new QTableWidget(this);
    layout->addWidget(tabela);
    resumo = new QLabel(this);
    layout->addWidget(resumo);

    QSqlQuery consulta;
    if (!executaDetalhe(consulta, id, data))
        return;
    // Only a count known to be zero means empty: -1 (unknown) goes on.
    if (consulta.size() == 0) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Aviso"), QStringLiteral("Não foram encontrados dados"),
                    {QStringLiteral("Não há gastos de %1 em %2.").arg(nome, formataData(QStringLiteral("MM/yyyy"), data)),
                     {}});
        return;
    }
    preencherTabela(id, data, tabela);
    // The grid is never sorted, so its rows stay in the order of the keys read with them.
    connect(tabela, &QTableWidget::doubleClicked, this, [=](const QModelIndex &index) {
        if (FormularioGasto::abrir(gastosDasLinhas.value(index.row()), this))
            preencherTabela(id, data, tabela);
    });
    setWindowTitle(tr("Detalhes para %1 (%2)").arg(nome, formataData(QStringLiteral("MM/yyyy"), data)));
    resize(600, 400);
}

JanelaDetalhe::~JanelaDetalhe() = default;

void JanelaDetalhe::preencherTabela(int id, const QDate &data, QTableWidget *tabela)
{
    QSqlQuery consulta;
    if (!executaDetalhe(consulta, id, data))
        return;
    preencheTabelaComConsulta({QStringLiteral("Data"), QStringLiteral("Fornecedor"),
                               QStringLiteral("Descrição"), QStringLiteral("Valor")},
                              &consulta, tabela);
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gastosDasLinhas.clear();
    bool comCompras = false;
    for (bool linha = consulta.first(); linha; linha = consulta.next()) {
        gastosDasLinhas << consulta.value(colunaChave).toInt();
        if (!consulta.isNull(colunaParcela))
            comCompras = nomeiaACompra(tabela->item(gastosDasLinhas.size() - 1, colunaDescricao),
                                       gastosDasLinhas.last(), consulta.value(colunaParcela).toInt())
                         || comCompras;
    }
    // Sized again to the purchases' names, only where there are any: sizing costs as much as the fill.
    if (comCompras)
        ajustaLarguraDasColunas(tabela);
    double total = 0;
    for (int linha = 0; linha < tabela->rowCount(); ++linha)
        total += tabela->item(linha, colunaValor)->text().toDouble();
    resumo->setText(contagem(tabela->rowCount(), "%1 gasto, total de %2", "%1 gastos, total de %2").arg(emReais(total)));
}
