#ifndef TABELACOMPRAS_H
#define TABELACOMPRAS_H

#include "database/resultado.h"
#include "instalments/compra.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <optional>

// An instalment just written by an import, to be linked to its purchase.
struct ParcelaNova
{
    int idGasto = 0;
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

// Links each new instalment of the account (0: none) to the purchase it
// belongs to: the same supplier text and count, and the same purchase date
// where the file gives it, or else an instalment of it whose amount differs
// at most by the rounding of the parts and whose month is as many months
// away as its number; a purchase that has no instalment of that number yet.
// A refund goes to the purchase of the instalment it refunds, whichever the
// file lists first. The rest start purchases of their own. An instalment
// still without a category (no rule gave one) gets its purchase's, when its
// instalments have one. How many got one so.
Resultado<int> vincula(const QVector<ParcelaNova> &novas, int idConta);

// Deletes the purchases left without instalments (an import undone, an instalment deleted), on db.
Resultado<> apagaSemParcelas(const QSqlDatabase &db);

// Every purchase with its instalments imported, of every account.
Resultado<QVector<Compra>> lista();

// The purchase an expense is an instalment of; none for an ordinary one.
Resultado<std::optional<Compra>> daParcela(int idGasto);

} // namespace TabelaCompras

#endif // TABELACOMPRAS_H
