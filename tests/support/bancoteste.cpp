#include "support/bancoteste.h"

#include "database/conexao.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString conexaoAdmin = QStringLiteral("finara_teste_admin");

// Unprepared without values, as the server prepares no CREATE TRIGGER; a refusal is logged.
QSqlQuery comoAdmin(const QString &sql, const QVariantList &valores)
{
    QSqlQuery q(QSqlDatabase::database(conexaoAdmin));
    if (!valores.isEmpty())
        q.prepare(sql);
    for (const QVariant &v : valores)
        q.addBindValue(v);
    if (!(valores.isEmpty() ? q.exec(sql) : q.exec()))
        qWarning("BancoTeste: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

} // namespace

// The tables are made by database/schema.sql itself, as the program's own server gets them:
// every statement but those that name the real database or its user.
QStringList BancoTeste::tabelasDoEsquema()
{
    QFile arquivo(QStringLiteral(FINARA_SCHEMA_SQL));
    if (!arquivo.open(QFile::ReadOnly))
        return {};
    static const QRegularExpression doBancoReal(
        QStringLiteral("^(CREATE DATABASE|USE|CREATE USER|REVOKE|GRANT)\\b"), QRegularExpression::MultilineOption);
    QStringList comandos;
    for (const QString &comando : QString::fromUtf8(arquivo.readAll()).split(QStringLiteral(";\n"))) {
        QString semComentarios = comando;
        semComentarios.remove(QRegularExpression(QStringLiteral("^--[^\n]*\n?"), QRegularExpression::MultilineOption));
        if (!semComentarios.trimmed().isEmpty() && !doBancoReal.match(semComentarios.trimmed()).hasMatch())
            comandos << semComentarios.trimmed();
    }
    return comandos;
}

BancoTeste::BancoTeste(const QString &nome)
    : m_nome(QStringLiteral("finara_teste_%1_%2").arg(nome).arg(QCoreApplication::applicationPid()))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), conexaoAdmin);
    db.setUserName(QStringLiteral("root"));
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket());
    Conexao::abrir(db);
    QStringList comandos {QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_nome),
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci").arg(m_nome),
        QStringLiteral("USE `%1`").arg(m_nome),
        QStringLiteral("CREATE USER IF NOT EXISTS 'finara_teste'@'localhost' IDENTIFIED BY 'finara_teste'"),
        QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON `finara_teste_%`.* TO 'finara_teste'@'localhost'")};
    const QStringList esquema = tabelasDoEsquema();
    for (const QString &comando : comandos + esquema)
        if (esquema.isEmpty() || !executa(comando))
            m_erro = QStringLiteral("%1: %2").arg(comando, db.lastError().text());
    for (QSqlQuery tabelas(QStringLiteral("SHOW TABLES"), db); tabelas.next();)
        m_tabelas << tabelas.value(0).toString();
    if (pronto())
        abrirPadrao();
}

BancoTeste::~BancoTeste()
{
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    executa(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_nome));
    QSqlDatabase::removeDatabase(conexaoAdmin);
}

bool BancoTeste::abrirPadrao(const QString &nome)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"));
    db.setHostName(QStringLiteral("localhost"));
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket());
    db.setDatabaseName(nome);
    db.setUserName(QStringLiteral("finara_teste"));
    db.setPassword(QStringLiteral("finara_teste"));
    return Conexao::abrir(db);
}

QString BancoTeste::socket()
{
    const QString doAmbiente = qEnvironmentVariable("FINARA_DB_SOCKET");
    return doAmbiente.isEmpty() ? Conexao::socket() : doAmbiente;
}

QSqlDatabase BancoTeste::admin() const { return QSqlDatabase::database(conexaoAdmin); }

bool BancoTeste::executa(const QString &sql, const QVariantList &valores) const
{
    return comoAdmin(sql, valores).isActive();
}

QVariant BancoTeste::valor(const QString &sql, const QVariantList &valores) const
{
    QSqlQuery q = comoAdmin(sql, valores);
    return q.next() ? q.value(0) : QVariant();
}

bool BancoTeste::esvaziar() const
{
    bool ok = true;
    for (const QString &tabela : m_tabelas)
        ok = executa(QStringLiteral("DELETE FROM `%1`").arg(tabela)) && ok;
    return ok;
}
