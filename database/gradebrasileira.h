#ifndef GRADEBRASILEIRA_H
#define GRADEBRASILEIRA_H

#include <QStringList>
#include <QtGlobal>

class QSqlQuery;
class QTableWidget;
class QTableWidgetItem;
class QVariant;

// The grids of the windows added to the first five, as a Brazilian reads
// them: amounts "R$ 1.234,56" and whole numbers right-aligned, dates
// "dd/MM/yyyy" (with the time when there is one), every cell sorting by its
// value, each row at its own height. The first windows' grids keep the form
// of preencheTabelaComConsulta (database/tabelaconsulta.h).
namespace GradeBrasileira {

// A cell from a value the server returned: a DECIMAL as an amount, a DATE
// or DATETIME as a date, an integer as a number, anything else as text.
QTableWidgetItem *celula(const QVariant &valor);
QTableWidgetItem *celulaEmReais(qint64 centavos);

// Fills tabela with the remaining rows of an executed query, one column per
// label, then sets it out as arruma does. A user's sort stays.
void preenche(QTableWidget *tabela, const QStringList &rotulos, QSqlQuery &consulta);

// Sets out a grid filled cell by cell: columns as wide as their contents
// (the last takes the rest), rows as high as theirs, and sortable by a click
// on a header, starting in the order the rows were given.
void arruma(QTableWidget *tabela);

} // namespace GradeBrasileira

#endif // GRADEBRASILEIRA_H
