#include "database/conexao.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace Conexao {

QString driver() { return QStringLiteral("QMYSQL"); }
QString host() { return QString::fromLatin1(FINARA_DB_HOST); }
QString banco() { return QStringLiteral("vestara_gastos"); }
QString usuario() { return QStringLiteral("vestara_tilmo"); }
QString senha() { return QStringLiteral("h8TQ2w%KZLN["); }

bool abrir(QSqlDatabase &db)
{
    if (!db.open())
        return false;
    QSqlQuery(QStringLiteral("SET NAMES utf8mb4"), db);
    return true;
}

} // namespace Conexao
