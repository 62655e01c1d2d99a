#ifndef SQL_H
#define SQL_H

#include "database/resultado.h"

#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

// The one way the program's own tables are reached: a fixed statement text,
// every value bound in order, never written into the text.
namespace Sql {

// Prepares sql on db (the default connection unless given), binds valores
// to its "?" in order and runs it. A failure is logged with the server's
// text and comes back as the reason for the user (motivoDoErro).
Resultado<QSqlQuery> executa(const QString &sql, const QVariantList &valores = {},
                             const QSqlDatabase &db = QSqlDatabase::database());

// An array bound as one value, for the server's JSON_TABLE: many rows in one
// statement instead of a statement each.
QString json(const QJsonArray &lista);

// A key bound as SQL NULL when not positive (no account, no import).
QVariant chaveOuNulo(int chave);

// A text bound as SQL NULL when empty.
QVariant textoOuNulo(const QString &texto);

// A DECIMAL amount as the driver hands it over (a double), in cents.
qint64 centavos(const QVariant &decimal);

} // namespace Sql

#endif // SQL_H
