#include "bench/sqlenviado.h"

#include "bench/falha.h"

#include <QRegularExpression>

#include <dlfcn.h>

// The benchmark executable exports these two client-library entry points
// (see CMakeLists.txt), so the QMYSQL plugin binds to them rather than to
// libmariadb's; each notes the text and passes the call on unchanged.

namespace {

bool capturando = false;
QStringList capturados;

void *daBiblioteca(const char *nome)
{
    // The plugin, which loaded the library, is loaded by the time the first
    // statement is sent.
    void *biblioteca = dlopen("libmariadb.so.3", RTLD_LAZY | RTLD_NOLOAD);
    void *funcao = biblioteca ? dlsym(biblioteca, nome) : nullptr;
    if (!funcao)
        falha(QStringLiteral("%1 not found in libmariadb.so.3").arg(QLatin1String(nome)));
    return funcao;
}

void anota(const char *texto, unsigned long tamanho)
{
    if (capturando)
        capturados << QString::fromUtf8(texto, static_cast<int>(tamanho));
}

} // namespace

extern "C" int mysql_real_query(void *mysql, const char *texto, unsigned long tamanho)
{
    using Funcao = int (*)(void *, const char *, unsigned long);
    static const auto original = reinterpret_cast<Funcao>(daBiblioteca("mysql_real_query"));
    anota(texto, tamanho);
    return original(mysql, texto, tamanho);
}

extern "C" int mysql_stmt_prepare(void *stmt, const char *texto, unsigned long tamanho)
{
    using Funcao = int (*)(void *, const char *, unsigned long);
    static const auto original = reinterpret_cast<Funcao>(daBiblioteca("mysql_stmt_prepare"));
    anota(texto, tamanho);
    return original(stmt, texto, tamanho);
}

QStringList sqlsEnviadosPor(const std::function<void()> &acao, const QString &tabela)
{
    capturados.clear();
    capturando = true;
    acao();
    capturando = false;
    QStringList sobreATabela;
    const QRegularExpression nome(QStringLiteral("\\b%1\\b").arg(tabela));
    for (const QString &texto : qAsConst(capturados)) {
        if (texto.contains(nome) && !sobreATabela.contains(texto))
            sobreATabela << texto;
    }
    return sobreATabela;
}

QString sqlEnviadoPor(const std::function<void()> &acao, const QString &tabela)
{
    const QStringList sobreATabela = sqlsEnviadosPor(acao, tabela);
    if (sobreATabela.size() != 1)
        falha(QStringLiteral("expected one statement on %1, caught %2").arg(tabela).arg(sobreATabela.size()));
    return sobreATabela.first();
}
