#include "database/tabelaconsulta.h"

#include "database/dimensionadordelinhas.h"
#include "database/itemordenavel.h"
#include "database/larguradascolunas.h"

#include <QDate>
#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QVariant>

namespace {

const int alinhadoADireita = Qt::AlignRight | Qt::AlignVCenter; // 130
const int alinhadoAEsquerda = Qt::AlignLeft | Qt::AlignVCenter; // 129

} // namespace

QTableWidgetItem *itemDeConsulta(const QVariant &valor)
{
    const bool ehDouble = valor.type() == QVariant::Double;
    const QString texto = ehDouble ? QString::number(valor.toDouble(), 'f', 2) : valor.toString();
    auto *item = new ItemOrdenavel(texto, valor);
    item->setData(Qt::TextAlignmentRole, ehDouble ? alinhadoADireita : alinhadoAEsquerda);
    return item;
}

bool preencheTabelaComConsulta(QStringList rotulos, QSqlQuery *consulta, QTableWidget *tabela)
{
    // With sorting on, the view would move a row as soon as its first cell
    // is set and the record's other cells would land in other rows; it is
    // switched back on, and sorts once, when every row is complete.
    const bool ordenava = tabela->isSortingEnabled();
    tabela->setSortingEnabled(false);

    const int colunas = rotulos.size();
    tabela->clear();
    tabela->setRowCount(0);
    tabela->setColumnCount(colunas);
    tabela->setHorizontalHeaderLabels(rotulos);
    tabela->setWordWrap(true);

    // Labels beyond the result's columns get empty cells.
    const int colunasDoResultado = consulta->record().count();
    int linha = 0;
    while (consulta->next()) {
        tabela->insertRow(linha);
        for (int c = 0; c < colunas; ++c)
            tabela->setItem(linha, c, itemDeConsulta(c < colunasDoResultado ? consulta->value(c) : QVariant()));
        ++linha;
    }

    // Columns first: the height of a wrapped row depends on its columns' widths.
    ajustaLarguraDasColunas(tabela);
    DimensionadorDeLinhas::dimensionarVisiveis(tabela);
    // A header that stretches its last row works out the minimum row height
    // from the font once per row on every resize: thousands of times for a
    // large result. The value does not change, so it is worked out once.
    QHeaderView *cabecalhoDasLinhas = tabela->verticalHeader();
    cabecalhoDasLinhas->setMinimumSectionSize(cabecalhoDasLinhas->minimumSectionSize());
    cabecalhoDasLinhas->setStretchLastSection(true);
    tabela->show();
    tabela->setSortingEnabled(ordenava);
    return true;
}

QString formataData(const QString &padrao, const QDate &data)
{
    return data.toString(padrao);
}
