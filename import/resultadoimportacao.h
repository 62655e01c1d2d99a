#ifndef RESULTADOIMPORTACAO_H
#define RESULTADOIMPORTACAO_H

#include <QString>

// What an import did, for the summary the user sees after it.
struct ResultadoImportacao
{
    int gravadas = 0;
    double total = 0;
    int repetidasDeixadas = 0;
    int classificadasPorRegras = 0;
};

// The summary box's text: rows written and their total, then the repeated rows left
// out and the expenses classified by rules when there are any.
QString textoDoResumo(const ResultadoImportacao &resultado);

#endif // RESULTADOIMPORTACAO_H
