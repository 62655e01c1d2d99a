#ifndef SUGESTAOMAPEAMENTO_H
#define SUGESTAOMAPEAMENTO_H

#include "statements/layoutextrato.h"

// What a layout the user mapped is called above the preview.
QString nomeDoLayoutMapeado();

// The date notations a mapped file may use.
const QStringList &formatosDeData();

// A first guess at the columns of a delimited file whose header no layout
// knows, from its first rows: the date column and notation, the amount
// column(s) and notation, which sign is money out, text columns for the
// supplier and the description, and the instalments' column by its name.
// The user confirms or corrects it.
LayoutExtrato sugereMapeamento(const QStringList &linhas, int cabecalho, QChar separador);

#endif // SUGESTAOMAPEAMENTO_H
