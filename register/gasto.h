#ifndef GASTO_H
#define GASTO_H

#include <QDate>
#include <QString>

// One expense as the form edits it. 0 stands for no key: an expense not yet
// written, no category, no account.
struct Gasto
{
    int id = 0;
    QDate data;
    QString fornecedor;
    QString descricao;
    qint64 centavos = 0;
    int idCategoria = 0;
    int idConta = 0;
};

#endif // GASTO_H
