#ifndef LEITORCSVBANCO_H
#define LEITORCSVBANCO_H

#include "statements/linhaextrato.h"

#include <QStringList>

struct LayoutExtrato;

// The one reader of every bank CSV layout: no widget, file or database.

// Whether the line is the layout's header: the same fields, case, quotes
// and trailing empty fields aside.
bool ehCabecalho(const QString &linha, const LayoutExtrato &layout);

// The rows after line `cabecalho` (-1: the file has none) read by the
// layout; rows that are not spending come marked with what they are. The
// first row that does not fit the layout, or that gastos could not hold, is
// an error naming its line and what was expected, and nothing is returned
// with it.
LeituraExtrato leCsvDoBanco(const QStringList &linhas, int cabecalho, const LayoutExtrato &layout);

#endif // LEITORCSVBANCO_H
