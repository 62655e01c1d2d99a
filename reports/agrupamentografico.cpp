#include "reports/agrupamentografico.h"

#include <algorithm>
#include <numeric>

namespace {

const int semCategoria = 0;

qint64 total(const GastosDaCategoria &categoria)
{
    return std::accumulate(categoria.porMes.cbegin(), categoria.porMes.cend(), qint64(0));
}

SerieDoGrafico serie(int id, const QString &nome, int meses)
{
    return {id, nome, QVector<qint64>(meses, 0)};
}

// The grid has the current month first; the chart reads left to right.
void soma(SerieDoGrafico &destino, const GastosDaCategoria &origem)
{
    const int meses = destino.porMes.size();
    for (int k = 0; k < qMin(meses, origem.porMes.size()); ++k)
        destino.porMes[meses - 1 - k] += origem.porMes.at(k);
}

} // namespace

DadosDoGrafico agrupaParaGrafico(const QVector<GastosDaCategoria> &categorias, const QDate &hoje,
                                 qint64 orcamentoTotal, int maiores)
{
    int meses = 0;
    QVector<QPair<qint64, const GastosDaCategoria *>> porTotal;
    const GastosDaCategoria *naoClassificado = nullptr;
    for (const GastosDaCategoria &categoria : categorias) {
        meses = qMax(meses, categoria.porMes.size());
        if (categoria.id == semCategoria)
            naoClassificado = &categoria;
        else if (total(categoria) != 0)
            porTotal.append({total(categoria), &categoria});
    }
    // Ties keep the grid's order, so the same data always draws the same way.
    std::stable_sort(porTotal.begin(), porTotal.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });

    DadosDoGrafico dados;
    dados.orcamentoTotal = orcamentoTotal;
    for (int k = meses - 1; k >= 0; --k)
        dados.meses << hoje.addMonths(-k);
    SerieDoGrafico outros = serie(SerieDoGrafico::outros, QStringLiteral("Outros"), meses);
    for (int i = 0; i < porTotal.size(); ++i) {
        const GastosDaCategoria &categoria = *porTotal.at(i).second;
        if (i < maiores) {
            dados.series.append(serie(categoria.id, categoria.nome, meses));
            soma(dados.series.last(), categoria);
        } else {
            soma(outros, categoria);
        }
    }
    if (porTotal.size() > maiores)
        dados.series.append(outros);
    if (naoClassificado && total(*naoClassificado) != 0) {
        dados.series.append(serie(semCategoria, naoClassificado->nome, meses));
        soma(dados.series.last(), *naoClassificado);
    }
    return dados;
}
