#ifndef VERIFICACAOTLS_H
#define VERIFICACAOTLS_H

// Qt 5's MySQL driver asks the client library for TLS with a CA file
// (SSL_CA) but cannot make it insist: a server that offers no TLS still gets
// the login, in the clear if it asks for mysql_clear_password, and a
// certificate the CA made for another address is accepted. The library call
// the driver sets TLS up with is bound to ours first (the program exports it,
// see CMakeLists.txt), which also requires TLS and checks the server's name.
namespace VerificacaoTls {

// Whether the driver's TLS set-up reaches ours: only then may a password
// travel over the network.
bool ativa();

} // namespace VerificacaoTls

#endif // VERIFICACAOTLS_H
