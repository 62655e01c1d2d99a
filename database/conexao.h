#ifndef CONEXAO_H
#define CONEXAO_H

#include <QString>

class QSqlDatabase;

// The connection parameters built into the program, kept in one place.
namespace Conexao {

QString driver();
QString host();
QString banco();
QString usuario();
QString senha();

// Whether the built-in host is this machine. Its private server is then
// reached through the socket in its owner-only directory, never over TCP,
// where any local account could pose as it.
bool local();

// The socket of the private server, where scripts/db-server puts it.
QString socket();

// Sets db to the built-in parameters, with timeouts so that a frozen
// server ends in an error instead of freezing the program.
void configurar(QSqlDatabase &db);

// Opens db and switches the session to utf8mb4: the client library talks
// utf8mb3 by default, which makes the server refuse four-byte characters
// such as emoji in statement descriptions.
bool abrir(QSqlDatabase &db);

} // namespace Conexao

#endif // CONEXAO_H
