#ifndef MOVIMENTO_H
#define MOVIMENTO_H

#include <QDate>
#include <QString>

// Money that moved on one of the household's accounts without being
// spending: income, or a transfer between the household's own accounts.
struct Movimento
{
    QDate data;
    QString fornecedor;
    QString descricao;
    qint64 centavos = 0; // as the account saw it: money in positive
    int idConta = 0;     // 0: no account
    int idImportacao = 0;
    QString idTransacao;
    QString contaExtrato;
};

#endif // MOVIMENTO_H
