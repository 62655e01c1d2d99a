#ifndef CLASSIFICACAODEGASTOS_H
#define CLASSIFICACAODEGASTOS_H

#include "database/resultado.h"

#include <QList>

// What became of a classification the server did not refuse.
enum class Classificacao { Feita, CategoriaApagada };

// Giving expenses a category, on the default connection.
namespace ClassificacaoDeGastos {

// Gives the expenses the category in one transaction, each expense once
// however often it is listed, so that nothing changes unless everything
// does. The category is locked against deletion meanwhile: no expense can be
// left pointing at a key that no longer exists; if it is gone already,
// nothing changes and the value says so. The other instalments of a
// purchase paid in parts that have no category are given it too.
Resultado<Classificacao> classificar(const QList<int> &idsGastos, int idCategoria);

} // namespace ClassificacaoDeGastos

#endif // CLASSIFICACAODEGASTOS_H
