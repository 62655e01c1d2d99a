#ifndef FILTROLANCAMENTOS_H
#define FILTROLANCAMENTOS_H

#include <QDate>
#include <QString>

// The register's columns, in the grid's order.
enum class ColunaLancamento { Data, Fornecedor, Descricao, Categoria, Valor, Conta, Importacao };
const int colunasDeLancamento = int(ColunaLancamento::Importacao) + 1;

// Which expenses the register lists, and in what order.
struct FiltroLancamentos
{
    // For idCategoria and idConta: any, or none ("Não Classificado", no account).
    static const int todas = -1;
    static const int nenhuma = 0;

    QString texto; // contained in the supplier or the description, as the columns' collation compares
    QDate de;      // the first day of the first month listed; invalid for no bound
    QDate ate;     // the first day of the last month listed; invalid for no bound
    int idCategoria = todas;
    int idConta = todas;
    ColunaLancamento ordem = ColunaLancamento::Data;
    Qt::SortOrder sentido = Qt::DescendingOrder;
};

#endif // FILTROLANCAMENTOS_H
