#ifndef CONTADOEXTRATO_H
#define CONTADOEXTRATO_H

#include "accounts/conta.h"

#include <optional>

struct LinhaExtrato;

// The account a statement file names, for when none is remembered for it:
// after its bank and account number (OFX) or its layout, of the kind the
// file is. Nothing for a file that names none (our own layout).
std::optional<Conta> contaDoExtrato(const LinhaExtrato &linha, const QString &layout);

#endif // CONTADOEXTRATO_H
