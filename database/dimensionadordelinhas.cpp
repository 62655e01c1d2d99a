#include "database/dimensionadordelinhas.h"

#include <QEvent>
#include <QScrollBar>
#include <QTableWidget>

void DimensionadorDeLinhas::dimensionarVisiveis(QTableWidget *tabela)
{
    auto *dimensionador = tabela->findChild<DimensionadorDeLinhas *>(QString(), Qt::FindDirectChildrenOnly);
    if (!dimensionador)
        dimensionador = new DimensionadorDeLinhas(tabela);
    dimensionador->dimensionar();
}

DimensionadorDeLinhas::DimensionadorDeLinhas(QTableWidget *tabela)
    : QObject(tabela)
    , m_tabela(tabela)
{
    connect(tabela->verticalScrollBar(), &QScrollBar::valueChanged, this, &DimensionadorDeLinhas::dimensionar);
    // A change of the view's height changes the scroll range.
    connect(tabela->verticalScrollBar(), &QScrollBar::rangeChanged, this, &DimensionadorDeLinhas::dimensionar);
    connect(tabela->model(), &QAbstractItemModel::layoutChanged, this, &DimensionadorDeLinhas::dimensionar);
    // A grid filled before it is shown has only the rows of a tiny view
    // sized; once on screen, a view that all rows fit changes no scroll range.
    tabela->viewport()->installEventFilter(this);
}

bool DimensionadorDeLinhas::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::Resize)
        dimensionar();
    return QObject::eventFilter(objeto, evento);
}

// Sizing one row can bring the next into view.
void DimensionadorDeLinhas::dimensionar()
{
    const int altura = m_tabela->viewport()->height();
    int linha = qMax(m_tabela->rowAt(0), 0);
    for (int topo = m_tabela->rowViewportPosition(linha); linha < m_tabela->rowCount() && topo < altura; ++linha) {
        m_tabela->resizeRowToContents(linha);
        topo += m_tabela->rowHeight(linha);
    }
}
