#ifndef ITEMORDENAVEL_H
#define ITEMORDENAVEL_H

#include <QTableWidgetItem>

class QVariant;

// A text cell of a grid that sorts by what it shows: amounts and keys as
// numbers, dates (and "dd/mm/yy" texts) in calendar order, anything else as
// text. The sort key is a plain member worked out once from the value the
// cell was made from, so a cell whose value changes is made anew.
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
