#ifndef TRANSACAO_H
#define TRANSACAO_H

#include <QSqlDatabase>

#include <functional>

// Runs trabalho inside a transaction on db: committed when it succeeds, rolled
// back when it or the commit fails, so that nothing is left half done.
bool emTransacao(QSqlDatabase db, const std::function<bool()> &trabalho);

#endif // TRANSACAO_H
