#ifndef BANCOTESTE_H
#define BANCOTESTE_H

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

// A scratch database with the tables database/schema.sql makes, and Qt's default connection open on it
// with the application user's rights. Dropped on destruction.
class BancoTeste
{
public:
    explicit BancoTeste(const QString &nome);
    ~BancoTeste();

    bool pronto() const { return m_erro.isEmpty(); }
    QString erro() const { return m_erro; }
    bool abrirPadrao() { return abrirPadrao(m_nome); }
    static bool abrirPadrao(const QString &nome); // Qt's default connection on that scratch database
    QString nome() const { return m_nome; }
    QSqlDatabase admin() const; // for preparing and checking data beside the code under test
    bool executa(const QString &sql, const QVariantList &valores = {}) const;
    QVariant valor(const QString &sql, const QVariantList &valores = {}) const;
    bool esvaziar() const; // every table without rows
    static QString socket(); // the server's: $FINARA_DB_SOCKET, or the program's own

private:
    static QStringList tabelasDoEsquema();

    QString m_nome;
    QString m_erro;
    QStringList m_tabelas;
};

#endif // BANCOTESTE_H
