#ifndef TABELAMOVIMENTOS_H
#define TABELAMOVIMENTOS_H

#include "accounts/movimento.h"
#include "database/resultado.h"

#include <QVector>

// Every statement on the money that moves without being spending, on the
// default connection: the household's income (the table entrada) and what
// moves between its own accounts (the table transferencia).
namespace TabelaMovimentos {

enum class Tipo { Entrada, Transferencia };

// Income is refused unless money came in (a positive amount).
Resultado<> inserir(Tipo tipo, const Movimento &movimento);

// The income of each calendar month, meses of them, in cents: the server's
// current month first, then one month back, ...
Resultado<QVector<qint64>> entradasPorMes(int meses);

// Pairs each unpaired transfer of the import with its other side already
// imported: the opposite amount, within a few days, from another import and
// not the same account. How many were paired.
Resultado<int> pareiaTransferencias(int idImportacao);

} // namespace TabelaMovimentos

#endif // TABELAMOVIMENTOS_H
