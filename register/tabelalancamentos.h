#ifndef TABELALANCAMENTOS_H
#define TABELALANCAMENTOS_H

#include "database/resultado.h"
#include "register/filtrolancamentos.h"
#include "register/gasto.h"
#include "register/linhalancamento.h"

#include <QVector>

#include <optional>

// Every statement of the register on gastos, on the default connection.
namespace TabelaLancamentos {

// How many expenses a filter lists, and their total.
struct Resumo
{
    int quantos = 0;
    qint64 centavos = 0;
};

// A part of a split expense: its amount and category (0: none).
struct Parte
{
    qint64 centavos = 0;
    int idCategoria = 0;
};

// At most quantas expenses from position inicio, in the filter's order.
Resultado<QVector<LinhaLancamento>> pagina(const FiltroLancamentos &filtro, int inicio, int quantas);
Resultado<Resumo> resumo(const FiltroLancamentos &filtro);
// One expense as listed, to show a change at once; nothing once it is gone.
Resultado<std::optional<LinhaLancamento>> linha(int idGasto);

Resultado<Gasto> ler(int idGasto);
// A new expense when gasto.id is 0; otherwise one statement that leaves the
// bank's id, the statement's account, the import and the split alone, so
// that a later import of the same statement still knows the expense.
// Returns the expense's key.
Resultado<int> gravar(const Gasto &gasto);
// All of them or, when the server refuses one, none.
Resultado<> apagar(const QVector<int> &idsGastos);
// The expense becomes the first part, with its amount and category; each
// other part is a new expense of the same date, texts, account, import and
// statement account, without the bank's id. Every part carries the key of
// the first part of the group (the group the expense is already a part of,
// if any). Refused unless there are two parts or more, none zero, adding
// up to the expense's amount to the cent.
Resultado<> dividir(int idGasto, const QVector<Parte> &partes);

} // namespace TabelaLancamentos

#endif // TABELALANCAMENTOS_H
