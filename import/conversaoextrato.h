#ifndef CONVERSAOEXTRATO_H
#define CONVERSAOEXTRATO_H

#include <QString>
#include <QStringList>

class QByteArray;

// What a bank statement file goes through on its way into gastos, as pure
// functions: no widget, file or database, so each can be tested, measured
// and fuzzed on its own.

// The file's text: the encoding its byte-order mark names; without one,
// UTF-8 when the bytes are valid UTF-8 and Windows-1252 otherwise (what
// Brazilian banks that do not export UTF-8 use).
QString textoDoExtrato(const QByteArray &bytes);

// The records of the text: split at LF, every CR dropped (so CR LF ends a
// line too), and no empty record after a final line end.
QStringList linhasDoExtrato(const QString &texto);

// The fields of one record: split at every ";" (quotes do not protect it),
// each trimmed of white space and stripped of every double quote. With a
// maximo, the last field holds the rest of the line, its ";" included, so
// nothing the file held is lost.
QStringList camposDaLinha(const QString &linha, int maximo = -1);

// The longest line whose fields fit gastos: a dd/MM/yyyy date, a supplier of
// 255 and a description of 1000 characters, the longest DECIMAL(13,2) amount
// as written ("R$ -99.999.999.999,99"), three separators and quotes around
// each of the four fields.
const int maximoDaLinha = 10 + 255 + 21 + 1000 + 3 + 8;

// The index of the first line longer than maximoDaLinha characters, or -1.
int linhaLongaDemais(const QStringList &linhas);

// "dd/MM/yyyy" as "yyyy-MM-dd"; a null string when the text is not such a
// date, which binds as SQL NULL.
QString dataParaBanco(const QString &data);

// An amount in Brazilian notation ("R$ 1.234,56") as a plain decimal with a
// point ("1234.56"). A point followed by one or two final digits, in an
// amount without a comma, is a decimal point ("12.50"); any other point
// must separate thousands in a valid grouping ("1.234.567"). A null string,
// which binds as SQL NULL, for any other point or comma ("0.050", "1.2,3"),
// and when the result has more than two decimals or an exponent, which the
// server would round away silently.
QString valorParaBanco(const QString &valor);

#endif // CONVERSAOEXTRATO_H
