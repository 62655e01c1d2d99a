#ifndef NAOGASTOS_H
#define NAOGASTOS_H

#include "statements/linhaextrato.h"

#include <QStringList>

// What a row is by its texts: a balance line or the card bill's payment only
// in the exact forms banks write them (case, accents and runs of blanks
// aside), so that a shop "SALDOS OUTLET" stays a purchase; anything else is
// spending.
Natureza naturezaDosTextos(const QStringList &textos);

// Why a row that is not spending was left out, in the user's words.
QString porQueFicaDeFora(Natureza natureza);

#endif // NAOGASTOS_H
