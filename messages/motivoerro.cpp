#include "messages/motivoerro.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace {

// MariaDB's error codes, as the driver reports them.
const QHash<QString, QString> &motivosComuns()
{
    static const QHash<QString, QString> motivos {
        {QStringLiteral("1062"), QStringLiteral("Esse registro já existe no banco de dados.")},
        {QStringLiteral("1142"), QStringLiteral("O usuário do programa não tem permissão para essa operação.")},
        {QStringLiteral("1205"), QStringLiteral("O banco de dados está ocupado com outra operação; tente de novo.")},
        {QStringLiteral("1406"), QStringLiteral("Um dos textos é longo demais para o banco de dados.")},
        {QStringLiteral("2006"), QStringLiteral("A conexão com o servidor caiu: use “Conectar BD” de novo.")},
        {QStringLiteral("2013"), QStringLiteral("A conexão com o servidor caiu: use “Conectar BD” de novo.")},
        {QStringLiteral("4025"), QStringLiteral("Um dos valores foi recusado pelas regras do banco de dados.")},
    };
    return motivos;
}

} // namespace

Motivo motivoDoErro(const QSqlError &erro, const QHash<QString, QString> &proprios)
{
    if (!QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).isOpen())
        return semConexao();
    const QString codigo = erro.nativeErrorCode();
    const QString texto = proprios.value(codigo, motivosComuns().value(codigo));
    const QString motivo = texto.isEmpty() ? QStringLiteral("O servidor recusou a operação.") : texto;
    return {motivo, palavrasDoServidor(motivo, erro), codigo};
}

QString palavrasDoServidor(const QString &oQueHouve, const QSqlError &erro)
{
    const QString codigo = erro.nativeErrorCode().isEmpty() ? QString() : QStringLiteral(" (código %1)").arg(erro.nativeErrorCode());
    return oQueHouve + QStringLiteral("\n\nResposta do servidor%1, em inglês:\n%2").arg(codigo, erro.text());
}

Motivo semConexao()
{
    return {QStringLiteral("Não há conexão com o banco de dados: use “Conectar BD” na janela principal."), {}};
}
