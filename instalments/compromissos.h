#ifndef COMPROMISSOS_H
#define COMPROMISSOS_H

#include "instalments/compra.h"

#include <QHash>
#include <QString>

// One instalment still to come.
struct ParcelaFutura
{
    int compra = -1; // its place among the purchases compromissos() was given
    int numero = 0;
    qint64 centavos = 0;
};

// What the household owes in the months ahead for purchases paid in
// instalments, by category: months[0] is the current month.
struct Compromissos
{
    QVector<QDate> meses;
    // Per category key (0: "Não Classificado"), per month, the instalments.
    QHash<int, QVector<QVector<ParcelaFutura>>> porCategoria;
    QHash<int, QString> nomes;

    qint64 soma(int idCategoria, int mes) const;
};

// From the latest instalment imported of each purchase: the ones after it,
// one a month at its amount, those falling from the current month on, in the
// `meses` months ahead. A purchase whose last instalment is in is closed; a
// refund of one of its instalments lowers what is left, the furthest month
// first.
Compromissos compromissos(const QVector<Compra> &compras, const QDate &hoje, int meses = 12);

// The instalments of a purchase not imported although later ones were:
// "parcelas 4 a 5 não importadas"; empty when there is no gap.
QString lacunas(const Compra &compra);

// "Parcela 3 de 10 — compra de 05/09/2026, total R$ 1.200,00", for a
// purchase's instalment.
QString descricaoDaParcela(const Compra &compra, int numero);

#endif // COMPROMISSOS_H
