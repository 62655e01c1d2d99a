#include "database/larguradascolunas.h"

#include <QHeaderView>
#include <QTableView>

namespace {

// Wide enough for a supplier's name or most descriptions at the usual font.
const int larguraMaxima = 320;
// Rows looked at per column: a screenful and more. Qt's default, a thousand, costs as much as
// the fill itself on a large result.
const int linhasConsideradas = 100;

} // namespace

void ajustaLarguraDasColunas(QTableView *tabela)
{
    QHeaderView *cabecalho = tabela->horizontalHeader();
    // Off while sizing and on again afterwards, or a second fill would leave
    // the last column at its contents' width and a gap beside it.
    cabecalho->setStretchLastSection(false);
    cabecalho->setResizeContentsPrecision(linhasConsideradas);
    tabela->resizeColumnsToContents();
    for (int coluna = 0; coluna < cabecalho->count(); ++coluna) {
        if (cabecalho->sectionSize(coluna) > larguraMaxima)
            cabecalho->resizeSection(coluna, larguraMaxima);
    }
    cabecalho->setStretchLastSection(true);
}
