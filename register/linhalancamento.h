#ifndef LINHALANCAMENTO_H
#define LINHALANCAMENTO_H

#include <QDate>
#include <QDateTime>
#include <QString>

// One expense as the register lists it, with the names of what it refers to.
struct LinhaLancamento
{
    int idGasto = 0;
    QDate data;
    QString fornecedor;
    QString descricao;
    QString categoria; // empty: none, or one since deleted
    qint64 centavos = 0;
    QString conta;
    QString arquivo; // the file of the import that wrote it; empty when entered by hand
    QDateTime importadoEm;
    bool parte = false; // one of the parts of a split expense
};

#endif // LINHALANCAMENTO_H
