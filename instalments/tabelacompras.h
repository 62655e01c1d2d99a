#ifndef TABELACOMPRAS_H
#define TABELACOMPRAS_H

#include "database/resultado.h"
#include "instalments/compra.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <optional>

// An instalment an import is about to write, to be linked to its purchase.
struct ParcelaNova
{
    QString fornecedor;
    int parcela = 0;
    int parcelas = 0;
    qint64 centavos = 0;
    QDate data;
    QDate dataDaCompra; // where the file gives it
};

// Every statement on card purchases paid in instalments (the table compra
// and the instalments that point to it), on the default connection.
namespace TabelaCompras {

// The purchase of a new instalment, and that purchase's category (0: none).
struct DaCompra
{
    int idCompra = 0;
    int idCategoria = 0;
};

// Finds the purchase each new instalment of the account (0: none) belongs
// to, before the import writes them, so that each is written with it: the
// same supplier text and count, and the same purchase date where the file
// gives it, or else an instalment of it whose amount differs at most by the
// rounding of the parts and whose month is as many months away as its
// number; a purchase that has no instalment of that number yet. A refund
// goes to the purchase of the instalment it refunds, whichever the file
// lists first. The rest start purchases of their own, made now. An
// instalment no rule classifies takes its purchase's category.
Resultado<QVector<DaCompra>> vincula(const QVector<ParcelaNova> &novas, int idConta);

// Deletes the purchases left without instalments (an import undone, an instalment deleted), on db.
Resultado<> apagaSemParcelas(const QSqlDatabase &db);

// Every purchase with its instalments imported, of every account.
Resultado<QVector<Compra>> lista();

// The purchase an expense is an instalment of; none for an ordinary one.
Resultado<std::optional<Compra>> daParcela(int idGasto);

} // namespace TabelaCompras

#endif // TABELACOMPRAS_H
