#ifndef ESCOLHASDEGASTO_H
#define ESCOLHASDEGASTO_H

#include "accounts/conta.h"

#include <QPair>
#include <QString>
#include <QVector>

class QComboBox;

// The lists of the register's forms and filters. Each item's data is its
// key; 0 stands for none.

// "Não Classificado", then the categories given.
void acrescentaCategorias(QComboBox *caixa, const QVector<QPair<int, QString>> &categorias);
// "Sem conta", then the accounts given.
void acrescentaContas(QComboBox *caixa, const QVector<Conta> &contas);
// The item of key id; the first when there is none, as for a deleted category.
void escolhe(QComboBox *caixa, int id);

#endif // ESCOLHASDEGASTO_H
