#ifndef TABELACATEGORIAS_H
#define TABELACATEGORIAS_H

#include "database/resultado.h"

#include <QPair>
#include <QString>
#include <QVector>

// Statements on the categories, on the default connection.
namespace TabelaCategorias {

// Key and name of every category, by name.
Resultado<QVector<QPair<int, QString>>> listar();

} // namespace TabelaCategorias

#endif // TABELACATEGORIAS_H
