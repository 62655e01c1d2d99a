#ifndef BANCOTESTE_H
#define BANCOTESTE_H

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// A scratch database of the test's own on the local server, with Finara's
// tables, and Qt's default connection opened on it as a user with the same
// rights as the application's user. Dropped again on destruction, so a test
// never touches the application's own data.
class BancoTeste
{
public:
    explicit BancoTeste(const QString &nome);
    ~BancoTeste();

    bool pronto() const { return m_erro.isEmpty(); }
    QString erro() const { return m_erro; }
    QString nomeBanco() const { return m_nome; }

    // Opens the default connection on the scratch database the way the
    // program opens its own (again, if it was closed or replaced).
    bool abrirPadrao();

    // An administrator's connection on the scratch database, for preparing
    // and checking data beside the code under test.
    QSqlDatabase admin() const;
    bool executa(const QString &sql, const QVariantList &valores = {}) const;
    // Leaves gastos and categoria without rows, for a test's fresh start.
    bool esvaziar() const;
    QVariant valor(const QString &sql, const QVariantList &valores = {}) const;

    // Locks or unlocks the application's own account, so that connecting
    // with the built-in parameters is refused; only for tests that run
    // beside a server of their own.
    bool travarContaDoAplicativo(bool travar) const;

    // The socket of the local server started by scripts/db-server
    // (FINARA_DB_SOCKET names another).
    static QString socket();

private:
    bool criar();
    QSqlQuery comoAdmin(const QString &sql, const QVariantList &valores, bool *ok) const;

    QString m_nome;
    QString m_erro;
};

#endif // BANCOTESTE_H
