#ifndef FORMATACAO_H
#define FORMATACAO_H

#include <QString>

// An amount in Brazilian notation, without the currency: "1.446,90".
QString numeroBrasileiro(double valor);

// An amount as a Brazilian reads it: "R$ 1.446,90", "-R$ 45,90".
QString emReais(double valor);

// The same of an amount in cents, as money is kept beyond a cell's text.
QString centavosEmReais(qint64 centavos);

// n with the singular or the plural text, each holding %1 for the number:
// "1 gasto", "3 gastos".
QString contagem(int n, const char *singular, const char *plural);

#endif // FORMATACAO_H
