#ifndef ITEMORDENAVEL_H
#define ITEMORDENAVEL_H

#include <QTableWidgetItem>

class QVariant;

// A text cell of a query grid that sorts by what it shows: amounts and keys
// as numbers, "dd/mm/yy" dates in calendar order, anything else as text.
// It carries no role besides its text and alignment; the sort key is a plain
// member worked out once from the value the cell was made from.
class ItemOrdenavel : public QTableWidgetItem
{
public:
    ItemOrdenavel(const QString &texto, const QVariant &valor);

    bool operator<(const QTableWidgetItem &outro) const override;

private:
    double m_chave = 0;
    bool m_temChave = false;
};

#endif // ITEMORDENAVEL_H
