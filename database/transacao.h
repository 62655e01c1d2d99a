#ifndef TRANSACAO_H
#define TRANSACAO_H

#include "database/resultado.h"

#include <QSqlDatabase>

#include <functional>

// Runs trabalho inside a transaction on db: committed when it succeeds, rolled
// back when it or the commit fails, so that nothing is left half done.
Resultado<> emTransacao(QSqlDatabase db, const std::function<Resultado<>()> &trabalho);

#endif // TRANSACAO_H
