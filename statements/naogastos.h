#ifndef NAOGASTOS_H
#define NAOGASTOS_H

#include "statements/linhaextrato.h"

#include <QStringList>

// What a row is: a balance line or the card bill's payment only in the exact
// forms banks write them (case, accents and runs of blanks aside), so that a
// shop "SALDOS OUTLET" stays a purchase; otherwise money in (a negative
// expense) is income on a checking account and a refund on a card.
Natureza naturezaDaLinha(const QStringList &textos, qint64 centavos, bool doCartao);

// What a row that is not spending is, in the user's words.
QString oQueE(Natureza natureza);

#endif // NAOGASTOS_H
