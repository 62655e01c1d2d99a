#ifndef TABELAENTRADAS_H
#define TABELAENTRADAS_H

#include "accounts/movimento.h"
#include "database/resultado.h"

#include <QVector>

// Every statement on the household's income (the table entrada), on the
// default connection.
namespace TabelaEntradas {

// Refused unless money came in (a positive amount).
Resultado<> inserir(const Movimento &entrada);

// The income of each calendar month from primeiro's month on, meses of
// them, in cents: the current month first, then one month back, ...
Resultado<QVector<qint64>> porMes(const QDate &atual, int meses);

} // namespace TabelaEntradas

#endif // TABELAENTRADAS_H
