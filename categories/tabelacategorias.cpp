#include "categories/tabelacategorias.h"

#include "database/sql.h"

namespace TabelaCategorias {

Resultado<QVector<QPair<int, QString>>> listar()
{
    Resultado<QSqlQuery> consulta =
        Sql::executa(QStringLiteral("SELECT idCategoria, categoria FROM categoria ORDER BY categoria"));
    if (!consulta.ok())
        return consulta.motivo();
    QVector<QPair<int, QString>> categorias;
    for (QSqlQuery &q = consulta.valor(); q.next();)
        categorias.append({q.value(0).toInt(), q.value(1).toString()});
    return categorias;
}

} // namespace TabelaCategorias
