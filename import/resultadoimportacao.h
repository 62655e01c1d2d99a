#ifndef RESULTADOIMPORTACAO_H
#define RESULTADOIMPORTACAO_H

#include "import/gradedaprevia.h"

#include <QString>
#include <QVector>

// What an import did, for the summary the user sees after it.
struct ResultadoImportacao
{
    int gravadas = 0; // expenses
    int linhas = 0;   // every row written: expenses, income, transfers
    qint64 centavos = 0;
    int repetidasDeixadas = 0;
    int classificadasPorRegras = 0;
    int classificadasPelaCompra = 0; // instalments given their purchase's category
    // The rows that did not become expenses: income, transfers, left out.
    QVector<GradeDaPrevia::Linha> naoGastos;
};

// The summary box's text: expenses written and their total, then every
// other kind of row (income, transfers, rows left out, repeated rows) and
// the expenses classified by rules, each when there are any.
QString textoDoResumo(const ResultadoImportacao &resultado);

// Every row that did not become an expense, with what it is: the summary's
// details, so that nothing leaves a file without a word.
QString detalhesDoResumo(const ResultadoImportacao &resultado);

#endif // RESULTADOIMPORTACAO_H
