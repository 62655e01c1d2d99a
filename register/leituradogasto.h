#ifndef LEITURADOGASTO_H
#define LEITURADOGASTO_H

#include "database/resultado.h"

#include <QDate>

// What the register's forms read from the user's text, by the same readers
// as an import's preview grid, and why a text is refused, in the same words.

// A date written dd/mm/yyyy, from 1900 to 2100.
Resultado<QDate> dataDoGasto(const QString &texto);

// An amount as a statement writes it ("1.234,56", "R$ 80", "12.50"), in cents.
Resultado<qint64> valorDoGasto(const QString &texto);

#endif // LEITURADOGASTO_H
