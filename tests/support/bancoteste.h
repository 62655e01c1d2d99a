#ifndef BANCOTESTE_H
#define BANCOTESTE_H

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

// A scratch database with the tables of the real vestara_gastos, and Qt's default connection
// opened on it as a user with the application user's rights. Dropped on destruction, so a
// test never touches the user's data.
class BancoTeste
{
public:
    explicit BancoTeste(const QString &nome);
    ~BancoTeste();

    bool pronto() const { return m_erro.isEmpty(); }
    QString erro() const { return m_erro; }
    // Opens the default connection again, the way the program opens its own.
    bool abrirPadrao();
    // An administrator's connection on the scratch database, for preparing and checking data.
    QSqlDatabase admin() const;
    bool executa(const QString &sql, const QVariantList &valores = {}) const;
    QVariant valor(const QString &sql, const QVariantList &valores = {}) const;
    // Leaves every table without rows.
    bool esvaziar() const;

private:
    QString m_nome;
    QString m_erro;
    QStringList m_tabelas;
};

#endif // BANCOTESTE_H
