#include "database/textojson.h"

QString textoJson(const QString &texto)
{
    QString json;
    json.reserve(texto.size() + 2);
    json += QLatin1Char('"');
    for (const QChar c : texto) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            json += QLatin1Char('\\');
        if (c.unicode() < 0x20)
            json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            json += c;
    }
    return json += QLatin1Char('"');
}

QString listaJson(const QStringList &itens)
{
    return QLatin1Char('[') + itens.join(QLatin1Char(',')) + QLatin1Char(']');
}
