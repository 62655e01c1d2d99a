#ifndef LINHAEXTRATO_H
#define LINHAEXTRATO_H

#include <QDate>
#include <QString>
#include <QVector>

// What a row of a statement is to the household.
enum class Natureza {
    Gasto,             // money out for a purchase; a card's refund is a negative one
    NaoLancamento,     // a balance line: no money moved
    PagamentoDeFatura, // the card bill paid: money between the household's own accounts
    Entrada,           // money in on a checking or savings account: salary, a Pix received
};

// One row of any statement file, as every reader gives it.
struct LinhaExtrato
{
    QDate data;
    qint64 centavos = 0; // the expense: money out positive, money in negative
    QString fornecedor;
    QString descricao;
    QString idBanco; // the bank's id of the transaction (OFX FITID, Nubank's Identificador)
    QString conta;   // the account the file names ("OFX 0341/12345-6"), or the layout's name
    bool doCartao = false; // the file is a card's statement
    Natureza natureza = Natureza::Gasto;
    // One instalment of a purchase paid in parts (0 of 0: an ordinary
    // purchase), and the purchase's date where the file gives it.
    int parcela = 0;
    int parcelas = 0;
    QDate dataDaCompra;
    // A row that is not spending may not read as one: its date and amount
    // as the file wrote them, for the grid, when they do not.
    QString dataEscrita;
    QString valorEscrito;
};

// What reading a bank file gave: its rows, or an error naming the line and
// what was expected, never both.
struct LeituraExtrato
{
    QString layout;
    QVector<LinhaExtrato> linhas;
    QString erro;
};

#endif // LINHAEXTRATO_H
