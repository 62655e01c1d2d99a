#ifndef LAYOUTEXTRATO_H
#define LAYOUTEXTRATO_H

#include "statements/valor.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>

// Which sign a bank gives to money that leaves the customer.
enum class Sinal { SaidaNegativa, SaidaPositiva };

// Where a row's parts stand, as column indexes (-1: not in the file).
struct ColunasExtrato
{
    int data = -1;
    QVector<int> fornecedor; // the first that is not empty
    int valor = -1;          // a signed amount, or else:
    int entrada = -1;        // money in and
    int saida = -1;          // money out, unsigned, in columns of their own
    QVector<int> descricao;  // those not empty, joined with " - "
    int identificador = -1;
};

// One entry per bank file layout; adding a bank is adding an entry.
struct LayoutExtrato
{
    QString nome;
    QStringList cabecalho; // the header line's fields, as the bank writes them
    QChar separador;
    QString formatoData;
    NotacaoValor notacao;
    ColunasExtrato colunas;
    Sinal sinal;
    QRegularExpression fim;               // a line that ends the list, such as a totals footer
    QRegularExpression fornecedorNoTexto; // where the supplier's text names the counterparty, group "f"
    QRegularExpression naoLancamento {};  // a supplier's text that marks a balance line, such as Itaú's "SALDO …"
    bool semCabecalho = false;            // the file starts with its rows; `cabecalho` only counts the columns
    bool continuacoes = false;            // rows without a date extend the previous row's description
    // The bank has written either notation over the years: each file's own
    // amounts decide, a decimal comma anywhere making it VirgulaDecimal.
    bool notacaoPeloArquivo = false;
    // Card purchases paid in instalments: a column of their own ("3/10",
    // "Parcela 2/5"), or else the forms the texts write them in
    // (FormaDeParcela); and whether the date is the purchase's, repeated on
    // every instalment, rather than the instalment's.
    int colunaParcela = -1;
    int formasDeParcela = 0;
    bool dataDaCompra = false;
};

// The layouts of the banks' own CSV files, in the order they are tried.
const QVector<LayoutExtrato> &layoutsDosBancos();

// The longest line of the layout that a record of gastos can come from: our
// own layout's longest, and a short field (a balance, a document number)
// for each further column.
int maximoDaLinhaDoLayout(const LayoutExtrato &layout);

#endif // LAYOUTEXTRATO_H
