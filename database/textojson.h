#ifndef TEXTOJSON_H
#define TEXTOJSON_H

#include <QString>
#include <QStringList>

// The JSON arrays handed to the server's JSON_TABLE, written by hand:
// QJsonArray costs more than the statement it feeds when a statement's ten
// thousand rows go in one.

// A text as a JSON string, quotes included.
QString textoJson(const QString &texto);

// The items, each already JSON, as one array.
QString listaJson(const QStringList &itens);

#endif // TEXTOJSON_H
