#ifndef CONEXAO_H
#define CONEXAO_H

#include "database/resultado.h"

#include <QString>

class QSqlDatabase;
class QSqlError;

// Where and as whom the program connects: the built-in parameters at first,
// then those of the last connection that opened.
namespace Conexao {

struct Parametros
{
    QString host;
    QString banco;
    QString usuario;
    QString senha;
    QString certificado; // the household's CA file, for a host other than this machine
};

QString driver();
Parametros embutidos();

// The last parameters that connected, kept per desktop user; the password
// only for the built-in account, whose password is no secret. Others' stay
// in the desktop's keyring (Chaveiro).
Parametros lembrados();
void lembrar(const Parametros &p);

// Whether host is this machine. Its private server is then reached through
// the socket in its owner-only directory, never over TCP, where any local
// account could pose as it.
bool local(const QString &host);

// The socket of the private server, where scripts/db-server puts it.
QString socket();

// Sets db to p, with timeouts so that a frozen server ends in an error
// instead of freezing the program. Another host is reached only over TLS,
// its certificate checked against p.certificado; why not, when that cannot be.
Resultado<> configurar(QSqlDatabase &db, const Parametros &p);

// Opens db and switches the session to utf8mb4: the client library talks
// utf8mb3 by default, which makes the server refuse four-byte characters
// such as emoji in statement descriptions.
bool abrir(QSqlDatabase &db);

// Why opening with p failed, in the user's terms.
Motivo motivoDaFalha(const QSqlError &erro, const Parametros &p);

} // namespace Conexao

#endif // CONEXAO_H
