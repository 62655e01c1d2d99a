#ifndef CLASSIFICACAODEGASTOS_H
#define CLASSIFICACAODEGASTOS_H

#include <QList>
#include <QString>

enum class Classificacao { Feita, CategoriaApagada, Recusada };

// What became of a classification, with the server's reason for a refusal.
struct ResultadoDaClassificacao
{
    Classificacao estado = Classificacao::Feita;
    QString erro;
};

// Gives the expenses the category in one transaction on the default
// connection, each expense once however often it is listed, so that nothing
// changes unless everything does. The category is locked against deletion
// meanwhile: no expense can be left pointing at a key that no longer exists.
ResultadoDaClassificacao classificaGastos(const QList<int> &idsGastos, int idCategoria);

#endif // CLASSIFICACAODEGASTOS_H
