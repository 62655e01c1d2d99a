#ifndef LEITOROFX_H
#define LEITOROFX_H

#include "statements/linhaextrato.h"

// OFX statements, 1.x (SGML, leaf tags left open) and 2.x (XML), checking
// accounts and cards, any number of statements in one file. Each STMTTRN
// is a row: the DTPOSTED date, the NAME (or else the MEMO) as supplier, the
// MEMO (or else the NAME) as description, TRNAMT with its sign turned round,
// FITID as the bank's id and the BANKID/ACCTID of BANKACCTFROM or CCACCTFROM
// as the account (not a transfer's other side). A card's PAYMENT, and the
// texts that are not spending, come marked so. A file cut short, without
// transactions, or of investments is an error.
LeituraExtrato leOfx(const QString &texto);

// Whether the start of a file is OFX.
bool pareceOfx(const QString &inicio);

#endif // LEITOROFX_H
