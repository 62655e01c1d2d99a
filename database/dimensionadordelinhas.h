#ifndef DIMENSIONADORDELINHAS_H
#define DIMENSIONADORDELINHAS_H

#include <QObject>

class QTableWidget;

// Sizes a table's rows to their contents as they come into view. Sizing a
// row lays out the text of each of its cells, about 20 µs a row: for every
// row of a large result that costs more than running its statement. Rows
// out of view keep the default height until they are scrolled to.
class DimensionadorDeLinhas : public QObject
{
    Q_OBJECT

public:
    // Sizes the rows now in view and, from then on, those that a scroll, a
    // taller view or a sort brings into view.
    static void dimensionarVisiveis(QTableWidget *tabela);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    explicit DimensionadorDeLinhas(QTableWidget *tabela);
    void dimensionar();

    QTableWidget *m_tabela;
};

#endif // DIMENSIONADORDELINHAS_H
