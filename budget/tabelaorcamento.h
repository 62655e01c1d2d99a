#ifndef TABELAORCAMENTO_H
#define TABELAORCAMENTO_H

#include <QString>
#include <QVector>

#include <optional>

// A category and its monthly budget, if it has one.
struct OrcamentoDaCategoria
{
    int idCategoria = 0;
    QString categoria;
    std::optional<double> valor;
};

// Every statement on the table orcamento, on the default connection.
class TabelaOrcamento
{
public:
    // Every category, by name, with its budget. On failure *erro says why.
    static bool lista(QVector<OrcamentoDaCategoria> *categorias, QString *erro);

    // What the user typed as a category's budget: empty removes the budget;
    // anything else must be an amount as a statement writes it ("1.446,90",
    // "R$ 80", "12.50") above zero. On failure nothing changes and *erro
    // says why, in words for the user; on success *gravado is the budget
    // the category now has.
    static bool grava(int idCategoria, const QString &texto, std::optional<double> *gravado,
                      QString *erro);
};

#endif // TABELAORCAMENTO_H
