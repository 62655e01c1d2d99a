#include "database/conexao.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

#include <unistd.h>

namespace Conexao {

QString driver() { return QStringLiteral("QMYSQL"); }
QString host() { return QString::fromLatin1(FINARA_DB_HOST); }
QString banco() { return QStringLiteral("vestara_gastos"); }
QString usuario() { return QStringLiteral("vestara_tilmo"); }
QString senha() { return QStringLiteral("h8TQ2w%KZLN["); }

bool local()
{
    return host() == QLatin1String("127.0.0.1") || host() == QLatin1String("localhost");
}

// Mirrors scripts/db-server: root's server lives outside root's home, which
// the server's own unprivileged account cannot enter.
QString socket()
{
    QString raiz = qEnvironmentVariable("FINARA_DATA_DIR");
    if (raiz.isEmpty()) {
        raiz = ::geteuid() == 0
                   ? QStringLiteral("/var/lib/finara")
                   : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         + QStringLiteral("/finara");
    }
    return raiz + QStringLiteral("/mariadb/mysqld.sock");
}

void configurar(QSqlDatabase &db)
{
    // Seconds to connect; a statement may take tens of seconds on a large
    // history before it counts as lost.
    QString opcoes = QStringLiteral(
        "MYSQL_OPT_CONNECT_TIMEOUT=5;MYSQL_OPT_READ_TIMEOUT=30;MYSQL_OPT_WRITE_TIMEOUT=30");
    if (local())
        opcoes += QStringLiteral(";UNIX_SOCKET=") + socket();
    db.setHostName(local() ? QStringLiteral("localhost") : host());
    db.setConnectOptions(opcoes);
    db.setDatabaseName(banco());
    db.setUserName(usuario());
    db.setPassword(senha());
}

bool abrir(QSqlDatabase &db)
{
    if (!db.open())
        return false;
    QSqlQuery(QStringLiteral("SET NAMES utf8mb4"), db);
    return true;
}

} // namespace Conexao
