#ifndef TABELACONSULTA_H
#define TABELACONSULTA_H

#include <QStringList>

class QDate;
class QSqlQuery;
class QTableWidget;
class QTableWidgetItem;
class QVariant;

// Fills tabela with the remaining rows of an executed query under the given
// labels (one column per label): doubles with two decimals, right-aligned,
// everything else as left-aligned text. Always returns true.
bool preencheTabelaComConsulta(QStringList rotulos, QSqlQuery *consulta, QTableWidget *tabela);

// One cell as the function above makes it from a value of the result.
QTableWidgetItem *itemDeConsulta(const QVariant &valor);

QString formataData(const QString &padrao, const QDate &data);

#endif // TABELACONSULTA_H
