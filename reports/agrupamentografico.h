#ifndef AGRUPAMENTOGRAFICO_H
#define AGRUPAMENTOGRAFICO_H

#include <QDate>
#include <QStringList>
#include <QVector>

// One row of the report as the grid holds it: the category's key (0 for
// "Não Classificado") and name, and its sums with the current month first,
// then one month back, two months back, ...
struct GastosDaCategoria
{
    int id = 0;
    QString nome;
    QVector<qint64> porMes; // in cents
};

// One segment colour of the chart: a category, "Não Classificado" or the
// group "Outros" (key outros), with its sums from the oldest month to the
// current one.
struct SerieDoGrafico
{
    static const int outros = -1;
    int id = 0;
    QString nome;
    QVector<qint64> porMes; // in cents
};

// What the chart draws: the months (oldest first), the segments from the
// largest category up, and the total monthly budget (0 when there is none).
struct DadosDoGrafico
{
    QVector<QDate> meses;
    QVector<SerieDoGrafico> series;
    qint64 orcamentoTotal = 0;
    QVector<qint64> entradas; // the income of each month, oldest first; empty when unknown
};

// The report's rows as chart segments: the `maiores` categories with the
// largest total over the period each on their own, the rest summed into
// "Outros", and "Não Classificado" always on its own. Categories without a
// cent in the period draw nothing and are left out. hoje names the current
// month.
DadosDoGrafico agrupaParaGrafico(const QVector<GastosDaCategoria> &categorias, const QDate &hoje,
                                 qint64 orcamentoTotal, int maiores = 8);

#endif // AGRUPAMENTOGRAFICO_H
