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

// Opens db and switches the session to utf8mb4: the client library talks
// utf8mb3 by default, which makes the server refuse four-byte characters
// such as emoji in statement descriptions.
bool abrir(QSqlDatabase &db);

} // namespace Conexao

#endif // CONEXAO_H
