#ifndef ENTRADASANTIGAS_H
#define ENTRADASANTIGAS_H

#include "database/resultado.h"

#include <QStringList>

#include <optional>

// Money in that a version without income imported from checking-account
// statements as negative expenses, lowering the spending. Offered once, to
// be moved to income with the user's yes; rows of our own layout, of cards
// (refunds) and of mapped files (whose kind is not known) are never offered.
namespace EntradasAntigas {

struct Oferta
{
    int quantas = 0;
    qint64 centavos = 0; // their total, as income
};

// The checking accounts' layouts, whose money in is income.
QStringList layoutsDeConta();

// What there is to offer; nothing once offered, or when there is nothing,
// which is noted as an offer made.
Resultado<std::optional<Oferta>> aOferecer();

// Moves them in one transaction, with their imports' totals, and notes the
// offer made.
Resultado<> mover();

// Notes the offer made, moving nothing.
Resultado<> recusar();

} // namespace EntradasAntigas

#endif // ENTRADASANTIGAS_H
