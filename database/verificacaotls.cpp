#include "database/verificacaotls.h"

#include <mysql.h>

#include <dlfcn.h>

namespace {

using SslSet = int(STDCALL *)(MYSQL *, const char *, const char *, const char *, const char *, const char *);

SslSet daBiblioteca()
{
    static const auto original = reinterpret_cast<SslSet>(dlvsym(RTLD_NEXT, "mysql_ssl_set", "libmysqlclient_18"));
    return original;
}

} // namespace

// The driver calls this whenever it is given SSL_CA; the certificate check
// also refuses a server that does not offer TLS at all.
extern "C" int STDCALL mysql_ssl_set(MYSQL *mysql, const char *key, const char *cert, const char *ca,
                                     const char *capath, const char *cipher)
{
    const my_bool sim = 1;
    return daBiblioteca()(mysql, key, cert, ca, capath, cipher)
           | mysql_optionsv(mysql, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &sim);
}

namespace VerificacaoTls {

bool ativa()
{
    return daBiblioteca() && dlsym(RTLD_DEFAULT, "mysql_ssl_set") == reinterpret_cast<void *>(&mysql_ssl_set);
}

} // namespace VerificacaoTls
