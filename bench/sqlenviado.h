#ifndef SQLENVIADO_H
#define SQLENVIADO_H

#include <QString>
#include <QStringList>

#include <functional>

// The text of the statement on gastos that a window sends, caught where the
// Qt driver hands it to the client library, so that a baseline runs exactly
// that statement and not a copy that could drift from it. Prepared
// statements arrive with "?" in place of named placeholders, in the order
// they stand in the text.
//
// Runs acao and returns the one distinct statement text naming the table
// that it sent; the benchmark stops when there is none or more than one.
QString sqlEnviadoPor(const std::function<void()> &acao, const QString &tabela = QStringLiteral("gastos"));

// Every distinct statement text naming the table that acao sent, in the order sent.
QStringList sqlsEnviadosPor(const std::function<void()> &acao, const QString &tabela = QStringLiteral("gastos"));

#endif // SQLENVIADO_H
