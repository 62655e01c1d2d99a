#ifndef TABELAORCAMENTO_H
#define TABELAORCAMENTO_H

#include "database/resultado.h"

#include <QString>
#include <QVector>

#include <optional>

// A category and its monthly budget in cents, if it has one.
struct OrcamentoDaCategoria
{
    int idCategoria = 0;
    QString categoria;
    std::optional<qint64> centavos;
};

// Every statement on the table orcamento, on the default connection.
namespace TabelaOrcamento {

// Every category, by name, with its budget.
Resultado<QVector<OrcamentoDaCategoria>> lista();

// What the user typed as a category's budget: empty removes the budget;
// anything else must be an amount as a statement writes it ("1.446,90",
// "R$ 80", "12.50") above zero. On failure nothing changes and the reason
// says why, in words for the user; on success the value is the budget the
// category now has.
Resultado<std::optional<qint64>> grava(int idCategoria, const QString &texto);

} // namespace TabelaOrcamento

#endif // TABELAORCAMENTO_H
