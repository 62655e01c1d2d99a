#include "database/gradebrasileira.h"

#include "database/dimensionadordelinhas.h"
#include "database/itemordenavel.h"
#include "database/larguradascolunas.h"
#include "database/sql.h"
#include "messages/formatacao.h"

#include <QDateTime>
#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QVariant>

namespace {

const int alinhadoADireita = Qt::AlignRight | Qt::AlignVCenter;

QTableWidgetItem *aDireita(QTableWidgetItem *item)
{
    item->setData(Qt::TextAlignmentRole, alinhadoADireita);
    return item;
}

} // namespace

namespace GradeBrasileira {

QTableWidgetItem *celula(const QVariant &valor)
{
    switch (valor.type()) {
    case QVariant::Double:
        return celulaEmReais(Sql::centavos(valor));
    case QVariant::Int:
    case QVariant::UInt:
    case QVariant::LongLong:
    case QVariant::ULongLong:
        return aDireita(new ItemOrdenavel(valor.toString(), valor));
    case QVariant::Date:
        return new ItemOrdenavel(valor.toDate().toString(QStringLiteral("dd/MM/yyyy")), valor);
    case QVariant::DateTime:
        return new ItemOrdenavel(valor.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")), valor);
    default:
        return new ItemOrdenavel(valor.toString(), valor);
    }
}

QTableWidgetItem *celulaEmReais(qint64 centavos)
{
    return aDireita(new ItemOrdenavel(emReais(centavos / 100.0), centavos));
}

void preenche(QTableWidget *tabela, const QStringList &rotulos, QSqlQuery &consulta)
{
    // Off while the rows go in, or a row would move before all its cells are set.
    const bool ordenava = tabela->isSortingEnabled();
    tabela->setSortingEnabled(false);
    tabela->clear();
    tabela->setRowCount(0);
    tabela->setColumnCount(rotulos.size());
    tabela->setHorizontalHeaderLabels(rotulos);
    const int colunas = qMin(rotulos.size(), consulta.record().count());
    for (int linha = 0; consulta.next(); ++linha) {
        tabela->insertRow(linha);
        for (int coluna = 0; coluna < colunas; ++coluna)
            tabela->setItem(linha, coluna, celula(consulta.value(coluna)));
    }
    tabela->setSortingEnabled(ordenava);
    arruma(tabela);
}

void arruma(QTableWidget *tabela)
{
    ajustaLarguraDasColunas(tabela);
    tabela->verticalHeader()->setStretchLastSection(false);
    DimensionadorDeLinhas::dimensionarVisiveis(tabela);
    if (!tabela->isSortingEnabled()) {
        tabela->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        tabela->setSortingEnabled(true);
    }
}

} // namespace GradeBrasileira
