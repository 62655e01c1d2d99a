#ifndef TABELATRANSFERENCIAS_H
#define TABELATRANSFERENCIAS_H

#include "accounts/movimento.h"
#include "database/resultado.h"

// Every statement on the money moved between the household's own accounts
// (the table transferencia), on the default connection.
namespace TabelaTransferencias {

Resultado<> inserir(const Movimento &transferencia);

// Pairs each unpaired transfer of the import with its other side already
// imported: the opposite amount, within a few days, from another import and
// not the same account. How many were paired.
Resultado<int> parear(int idImportacao);

} // namespace TabelaTransferencias

#endif // TABELATRANSFERENCIAS_H
