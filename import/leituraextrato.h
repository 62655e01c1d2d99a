#ifndef LEITURAEXTRATO_H
#define LEITURAEXTRATO_H

#include <QByteArray>
#include <QString>
#include <QVector>

// One transaction of a bank file, already in the preview grid's notation:
// the date as "dd/MM/yyyy" and the expense as "-1234,56" (money out
// positive, money in negative).
struct LancamentoExtrato
{
    QString data;
    QString fornecedor;
    QString valor;
    QString descricao;
    QString identificador; // the bank's id of the transaction, when the file has one
};

// What reading a bank file gave: its transactions, or an error naming what
// was expected, never both. `proprio` marks a file in Finara's own layout,
// which the import dialog reads as it always has.
struct LeituraExtrato
{
    // The whole file, read once for everything the preview does with it
    // (our own layout's lines, the import's SHA-256), when it could be read.
    QByteArray bytes;
    bool inteiro = false;
    QString layout;
    QVector<LancamentoExtrato> lancamentos;
    int ignoradas = 0; // rows that are not spending: balances, card bill payments
    QString erro;
    bool proprio = false;
};

#endif // LEITURAEXTRATO_H
