#ifndef GRADEDAPREVIA_H
#define GRADEDAPREVIA_H

#include "statements/linhaextrato.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class QTableWidget;
struct LeituraPropria;

// The import's preview grid: four cells of text per row, which the user sees
// and may edit, and in the date cell's item what the file said of the row
// that the cells do not show (the bank's id and account, what the row is,
// which load of the dialog brought it) and where it will go. Every piece of
// the import reads a row back through here, with the same date and amount
// readers.
namespace GradeDaPrevia {

// Where a row goes on import.
enum class Destino {
    Gasto,         // gastos: spending, a card's refund as a negative expense
    Entrada,       // entrada: money in
    Transferencia, // transferencia: between the household's own accounts
    DeFora,        // nowhere: not a transaction
};

// Where a row of that nature goes unless the user says otherwise.
Destino destinoDe(Natureza natureza);

// A row as it would be written: date and amount when their cells read.
struct Linha
{
    std::optional<QDate> data;
    std::optional<qint64> centavos;
    QString fornecedor;
    QString descricao;
    QString idBanco;
    QString conta;
    Natureza natureza = Natureza::Gasto;
    Destino destino = Destino::Gasto;
    int carga = 0;
    int parcela = 0; // of parcelas, of a purchase paid in instalments
    int parcelas = 0;
    QDate dataDaCompra;
};

// The rows of a bank file above those already in the grid, in file order;
// a row that is not spending comes greyed with what it is.
void acrescentaLinhas(QTableWidget *grade, const QVector<LinhaExtrato> &linhas, int carga);

// The lines of our own layout above those already in the grid, red from
// the first malformed one on.
void acrescentaCelulas(QTableWidget *grade, const LeituraPropria &leitura, int carga);

Linha linha(const QTableWidget *grade, int linha);

// The cells' texts, a missing cell as an empty text.
QStringList celulas(const QTableWidget *grade, int linha);

// The user's choice of where the row goes.
void defineDestino(QTableWidget *grade, int linha, Destino destino);

// Greys the rows that will not go in as expenses, or are repeated
// (repetidas: the row's notice), with what they are as the tooltip. Only
// cells whose look changes are touched.
void mostraAvisos(QTableWidget *grade, const QHash<int, QString> &repetidas);

} // namespace GradeDaPrevia

#endif // GRADEDAPREVIA_H
