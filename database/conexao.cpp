#include "database/conexao.h"

#include "database/verificacaotls.h"
#include "messages/motivoerro.h"

#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <unistd.h>

namespace Conexao {

namespace {

const QString organizacao = QStringLiteral("Finara");

// Nothing was sent to any server: there are no server's words to show.
Motivo semTentativa(const QString &texto) { return {texto, QString(), QString()}; }

} // namespace

QString driver() { return QStringLiteral("QMYSQL"); }

Parametros embutidos()
{
    return {QString::fromLatin1(FINARA_DB_HOST), QStringLiteral("vestara_gastos"), QStringLiteral("vestara_tilmo"),
            QStringLiteral("h8TQ2w%KZLN["), QString()};
}

Parametros lembrados()
{
    const QSettings s(organizacao, organizacao);
    const Parametros e = embutidos();
    Parametros p {s.value(QStringLiteral("conexao/host"), e.host).toString(),
                  s.value(QStringLiteral("conexao/banco"), e.banco).toString(),
                  s.value(QStringLiteral("conexao/usuario"), e.usuario).toString(), QString(),
                  s.value(QStringLiteral("conexao/certificado")).toString()};
    if (p.usuario == e.usuario)
        p.senha = e.senha;
    return p;
}

void lembrar(const Parametros &p)
{
    QSettings s(organizacao, organizacao);
    s.setValue(QStringLiteral("conexao/host"), p.host);
    s.setValue(QStringLiteral("conexao/banco"), p.banco);
    s.setValue(QStringLiteral("conexao/usuario"), p.usuario);
    s.setValue(QStringLiteral("conexao/certificado"), p.certificado);
}

bool local(const QString &host)
{
    return host == QLatin1String("127.0.0.1") || host == QLatin1String("localhost");
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

Resultado<> configurar(QSqlDatabase &db, const Parametros &p)
{
    // Seconds to connect; a statement may take tens of seconds on a large
    // history before it counts as lost.
    QString opcoes = QStringLiteral(
        "MYSQL_OPT_CONNECT_TIMEOUT=5;MYSQL_OPT_READ_TIMEOUT=30;MYSQL_OPT_WRITE_TIMEOUT=30");
    if (local(p.host)) {
        opcoes += QStringLiteral(";UNIX_SOCKET=") + socket();
    } else if (p.certificado.isEmpty()) {
        return semTentativa(QStringLiteral("Para conectar a %1, escolha o arquivo do certificado da casa, que "
                                           "quem administra o servidor copia para você.").arg(p.host));
    } else if (!QFileInfo(p.certificado).isReadable()) {
        return semTentativa(QStringLiteral("O arquivo do certificado da casa não pode ser lido: %1").arg(p.certificado));
    } else if (!VerificacaoTls::ativa()) {
        return semTentativa(QStringLiteral("Este Finara não consegue verificar o certificado do servidor, então "
                                           "não conecta pela rede."));
    } else {
        opcoes += QStringLiteral(";SSL_CA=") + p.certificado;
    }
    const Parametros e = embutidos();
    db.setHostName(local(p.host) ? QStringLiteral("localhost") : p.host);
    db.setConnectOptions(opcoes);
    db.setDatabaseName(p.banco);
    db.setUserName(p.usuario);
    // The built-in account's password is no secret: nobody needs to type it.
    db.setPassword(p.senha.isEmpty() && p.usuario == e.usuario ? e.senha : p.senha);
    return Feito();
}

bool abrir(QSqlDatabase &db)
{
    if (!db.open())
        return false;
    QSqlQuery(QStringLiteral("SET NAMES utf8mb4"), db);
    return true;
}

// The client library's and the server's codes for a connection refused.
Motivo motivoDaFalha(const QSqlError &erro, const Parametros &p)
{
    static const QString naoAlcancado = QStringLiteral("Não foi possível alcançar o servidor em {host}.");
    static const QHash<QString, QString> motivos {
        {QStringLiteral("1044"), QStringLiteral("O usuário {usuario} não tem acesso ao banco de dados {banco}.")},
        {QStringLiteral("1045"), QStringLiteral("O servidor recusou o usuário {usuario} ou a senha.")},
        {QStringLiteral("1049"), QStringLiteral("O banco de dados {banco} não existe no servidor.")},
        {QStringLiteral("2002"), naoAlcancado},
        {QStringLiteral("2003"), naoAlcancado},
        {QStringLiteral("2005"), naoAlcancado},
        {QStringLiteral("2013"), QStringLiteral("O servidor em {host} não respondeu a tempo.")},
        {QStringLiteral("2026"), QStringLiteral("O servidor em {host} não provou ser o servidor da casa: ele não "
                                                "oferece conexão segura ou o certificado dele não é o do arquivo "
                                                "da casa. A senha não foi enviada.")},
        {QStringLiteral("4151"), QStringLiteral("A conta {usuario} está bloqueada nesse servidor.")},
    };
    QString texto = motivos.value(erro.nativeErrorCode(), QStringLiteral("O servidor em {host} recusou a conexão."));
    texto.replace(QStringLiteral("{banco}"), p.banco)
        .replace(QStringLiteral("{usuario}"), p.usuario)
        .replace(QStringLiteral("{host}"), p.host);
    return {texto, palavrasDoServidor(texto, erro), erro.nativeErrorCode()};
}

} // namespace Conexao
