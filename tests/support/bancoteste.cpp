#include "support/bancoteste.h"

#include "database/conexao.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const char *const conexaoAdmin = "finara_teste_admin";
const char *const usuarioTeste = "finara_teste";
const char *const senhaTeste = "finara_teste";

// The CREATE TABLE statements of the real schema script, so tests run
// against exactly what users get.
QStringList tabelasDoEsquema(QString *erro)
{
    QFile arquivo(QStringLiteral(FINARA_SCHEMA_SQL));
    if (!arquivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *erro = QStringLiteral("cannot read ") + arquivo.fileName();
        return {};
    }
    QString texto = QString::fromUtf8(arquivo.readAll());
    texto.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    QStringList tabelas;
    for (const QString &comando : texto.split(QRegularExpression(QStringLiteral(";\\s*\n")))) {
        if (comando.trimmed().startsWith(QLatin1String("CREATE TABLE")))
            tabelas << comando.trimmed();
    }
    return tabelas;
}

} // namespace

BancoTeste::BancoTeste(const QString &nome)
    : m_nome(QStringLiteral("finara_teste_%1_%2").arg(nome).arg(QCoreApplication::applicationPid()))
{
    if (criar())
        abrirPadrao();
}

BancoTeste::~BancoTeste()
{
    {
        QSqlDatabase padrao = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
        padrao.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    executa(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_nome));
    {
        QSqlDatabase db = admin();
        db.close();
    }
    QSqlDatabase::removeDatabase(conexaoAdmin);
}

QString BancoTeste::socket()
{
    const QString doAmbiente = qEnvironmentVariable("FINARA_DB_SOCKET");
    return doAmbiente.isEmpty() ? Conexao::socket() : doAmbiente;
}

QSqlDatabase BancoTeste::admin() const
{
    return QSqlDatabase::database(conexaoAdmin);
}

bool BancoTeste::criar()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), conexaoAdmin);
    db.setHostName(QStringLiteral("localhost"));
    db.setUserName(QStringLiteral("root"));
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket());
    if (!db.open()) {
        m_erro = QStringLiteral("admin connection: ") + db.lastError().text();
        return false;
    }
    const QStringList tabelas = tabelasDoEsquema(&m_erro);
    if (!m_erro.isEmpty())
        return false;
    const QString grant = QStringLiteral(
        "GRANT SELECT, INSERT, UPDATE, DELETE ON `finara\\_teste\\_%`.* TO '%1'@'%2'");
    QStringList comandos {
        QStringLiteral("SET NAMES utf8mb4"),
        QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_nome),
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci").arg(m_nome),
        QStringLiteral("USE `%1`").arg(m_nome),
    };
    for (const char *host : {"127.0.0.1", "localhost"}) {
        comandos << QStringLiteral("CREATE USER IF NOT EXISTS '%1'@'%2' IDENTIFIED BY '%3'")
                        .arg(usuarioTeste, host, senhaTeste)
                 << grant.arg(usuarioTeste, host);
    }
    comandos << tabelas;
    for (const QString &comando : qAsConst(comandos)) {
        QSqlQuery q(db);
        if (!q.exec(comando)) {
            m_erro = comando + QStringLiteral(": ") + q.lastError().text();
            return false;
        }
    }
    return true;
}

bool BancoTeste::abrirPadrao()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"));
    db.setHostName(QStringLiteral("localhost"));
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket());
    db.setDatabaseName(m_nome);
    db.setUserName(QString::fromLatin1(usuarioTeste));
    db.setPassword(QString::fromLatin1(senhaTeste));
    if (!Conexao::abrir(db)) {
        m_erro = QStringLiteral("default connection: ") + db.lastError().text();
        return false;
    }
    return true;
}

// Runs sql with its values bound on the administrator's connection; a
// failure is logged so a test's own message says why.
QSqlQuery BancoTeste::comoAdmin(const QString &sql, const QVariantList &valores, bool *ok) const
{
    QSqlQuery q(admin());
    q.prepare(sql);
    for (const QVariant &v : valores)
        q.addBindValue(v);
    *ok = q.exec();
    if (!*ok)
        qWarning("BancoTeste: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

bool BancoTeste::executa(const QString &sql, const QVariantList &valores) const
{
    bool ok = false;
    comoAdmin(sql, valores, &ok);
    return ok;
}

bool BancoTeste::esvaziar() const
{
    return executa(QStringLiteral("DELETE FROM gastos")) && executa(QStringLiteral("DELETE FROM categoria"));
}

QVariant BancoTeste::valor(const QString &sql, const QVariantList &valores) const
{
    bool ok = false;
    QSqlQuery q = comoAdmin(sql, valores, &ok);
    return ok && q.next() ? q.value(0) : QVariant();
}

bool BancoTeste::travarContaDoAplicativo(bool travar) const
{
    const QString sql = travar ? QStringLiteral("ALTER USER '%1'@'%2' ACCOUNT LOCK")
                               : QStringLiteral("ALTER USER '%1'@'%2' ACCOUNT UNLOCK");
    bool ok = true;
    for (const char *host : {"127.0.0.1", "localhost"})
        ok = executa(sql.arg(Conexao::usuario(), QLatin1String(host))) && ok;
    return ok;
}
