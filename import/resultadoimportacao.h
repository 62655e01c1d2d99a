#ifndef RESULTADOIMPORTACAO_H
#define RESULTADOIMPORTACAO_H

#include "import/gradedaprevia.h"

#include <QString>
#include <QVector>

// What an import did, for the summary the user sees after it.
struct ResultadoImportacao
{
    int gravadas = 0;
    qint64 centavos = 0;
    int repetidasDeixadas = 0;
    int classificadasPorRegras = 0;
    QVector<GradeDaPrevia::Linha> deFora; // rows that are not spending, left out
};

// The summary box's text: rows written and their total, then the rows left
// out (not spending, repeated) and the expenses classified by rules, each
// when there are any.
QString textoDoResumo(const ResultadoImportacao &resultado);

// Every row left out because it is not spending, with its reason: the
// summary's details.
QString detalhesDoResumo(const ResultadoImportacao &resultado);

#endif // RESULTADOIMPORTACAO_H
