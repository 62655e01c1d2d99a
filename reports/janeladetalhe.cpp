#include "reports/janeladetalhe.h"

#include "database/tabelaconsulta.h"

#include <QDate>
#include <QDebug>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char *const sqlDaCategoria = R"(SELECT data as Data, fornecedor as Fornecedor, descricao as 'Descrição', valor as Valor
    FROM gastos
    WHERE idCategoria=:idCat AND YEAR(data) = :year AND MONTH(data) = :month)";

// Exactly what the report gathers under "Não Classificado": a NULL key and a
// key that names no category alike.
const char *const sqlSemCategoria = R"(SELECT gastos.data as Data, gastos.fornecedor as Fornecedor, gastos.descricao as 'Descrição', gastos.valor as Valor
    FROM gastos LEFT JOIN categoria ON gastos.idCategoria = categoria.idCategoria
    WHERE categoria.idCategoria IS NULL AND YEAR(gastos.data) = :year AND MONTH(gastos.data) = :month)";

const int semCategoria = 0;

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

    QSqlQuery consulta;
    if (!executaDetalhe(consulta, id, data))
        return;
    // Only a count known to be zero means empty: -1 (unknown) goes on.
    if (consulta.size() == 0) {
        QMessageBox::warning(this, QStringLiteral("Aviso"), QStringLiteral("Não foram encontrados dados"));
        return;
    }
    preencherTabela(id, data, tabela);
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
}
