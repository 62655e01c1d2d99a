#include "database/larguradascolunas.h"

#include <QHeaderView>
#include <QTableView>

namespace {

// Wide enough for a supplier's name or most descriptions at the usual font.
const int larguraMaxima = 320;

} // namespace

void ajustaLarguraDasColunas(QTableView *tabela)
{
    // Qt looks at a bounded number of rows here, so a large result costs no more than a small one.
    tabela->resizeColumnsToContents();
    QHeaderView *cabecalho = tabela->horizontalHeader();
    for (int coluna = 0; coluna < cabecalho->count(); ++coluna) {
        if (cabecalho->sectionSize(coluna) > larguraMaxima)
            cabecalho->resizeSection(coluna, larguraMaxima);
    }
    cabecalho->setStretchLastSection(true);
}
