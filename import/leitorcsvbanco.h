#ifndef LEITORCSVBANCO_H
#define LEITORCSVBANCO_H

#include "import/leituraextrato.h"

#include <QStringList>

struct LayoutExtrato;

// The one reader of every bank CSV layout: no widget, file or database.

// The fields of a delimited line: a field in double quotes may hold the
// separator, and "" inside it is one quote; every field is trimmed.
QStringList camposCsv(const QString &linha, QChar separador);

// "Loja X - Parcela 3/10" is bought from "Loja X": the instalment leaves
// the supplier (it stays in the description).
QString semParcela(QString fornecedor);

// Whether the line is the layout's header: the same fields, case, quotes
// and trailing empty fields aside.
bool ehCabecalho(const QString &linha, const LayoutExtrato &layout);

// The rows after line `cabecalho` (-1: the file has none) read by the
// layout; rows that are not spending are counted and left out. The first
// row that does not fit the layout is an error naming its line and what
// was expected, and nothing is returned with it.
LeituraExtrato leCsvDoBanco(const QStringList &linhas, int cabecalho, const LayoutExtrato &layout);

#endif // LEITORCSVBANCO_H
