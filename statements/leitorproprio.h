#ifndef LEITORPROPRIO_H
#define LEITORPROPRIO_H

#include <QString>
#include <QStringList>
#include <QVector>

// Finara's own layout, data;nome;valor;descrição, as its preview shows it:
// each line's cells as written (trimmed, quotes removed, whatever came
// after a fourth ";" kept in the description), read back as a date and an
// amount only when imported.
struct LeituraPropria
{
    QVector<QStringList> celulas;
    int primeiraMalformada = -1; // the first line without exactly four fields; -1: none
    // Why the file did not read whole: a malformed line (its rows still
    // shown, red from it on) or a line gastos cannot hold (nothing read).
    QString erro;
};

LeituraPropria leLayoutProprio(const QStringList &linhas);

#endif // LEITORPROPRIO_H
