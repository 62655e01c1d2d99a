#ifndef TABELACONTAS_H
#define TABELACONTAS_H

#include "accounts/conta.h"
#include "database/resultado.h"

#include <optional>

// Every statement on the household's accounts, on the default connection.
namespace TabelaContas {

// By name.
Resultado<QVector<Conta>> listar();

// The new account's key; a name already taken (case and accents aside) or
// blank is refused.
Resultado<int> criar(const Conta &conta);

Resultado<> renomear(int idConta, const QString &nome);

// Refused while an expense, income, transfer or import refers to it.
Resultado<> apagar(int idConta);

// The account "Dinheiro" for cash, made the first time it is needed.
Resultado<int> dinheiro();

// The account a statement file belongs to, by what the file says of itself.
Resultado<std::optional<int>> doArquivo(const QString &identidade);
Resultado<> lembraArquivo(const QString &identidade, int idConta);

} // namespace TabelaContas

#endif // TABELACONTAS_H
