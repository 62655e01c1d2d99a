#include "bench/orcamento.h"

#include "bench/falha.h"
#include "bench/janelas.h"
#include "bench/quadro.h"
#include "reports/agrupamentografico.h"
#include "reports/graficorelatorio.h"

#include <QSqlError>
#include <QSqlQuery>

#include <memory>

namespace {

void executa(const QString &sql)
{
    QSqlQuery consulta;
    if (!consulta.exec(sql))
        falha(consulta.lastError().text());
}

// Thirteen months of made-up sums for n categories and "Não Classificado".
QVector<GastosDaCategoria> categorias(int n)
{
    QVector<GastosDaCategoria> lista;
    for (int id = 0; id <= n; ++id) {
        QVector<qint64> porMes;
        for (int k = 0; k < 13; ++k)
            porMes << (id + 1) * 1000 + k * 325;
        lista.append({id, id ? QStringLiteral("Categoria %1").arg(id) : QStringLiteral("Não Classificado"), porMes});
    }
    return lista;
}

// Grouped (at most eight on their own) or not, then drawn whole into a pixmap.
Operacao desenha(int n, int maiores)
{
    const QVector<GastosDaCategoria> lista = categorias(n);
    auto grafico = std::make_shared<std::unique_ptr<GraficoRelatorio>>();
    return {[] {}, [lista, maiores, grafico] {
        *grafico = std::make_unique<GraficoRelatorio>();
        (*grafico)->resize(1200, 500);
        (*grafico)->mostra(agrupaParaGrafico(lista, QDate::currentDate(), 500000, maiores));
        (*grafico)->grab();
    }, [grafico] { grafico->reset(); }};
}

} // namespace

void medeOrcamento(Quadro &quadro, const QString &sql, int tamanho)
{
    executa(QStringLiteral("INSERT INTO orcamento (idCategoria, valor) SELECT idCategoria, 1000 FROM categoria"));
    int naInstrucao = 0, naJanela = 0;
    const QVector<Medida> r = mede({instrucao(sql, {}, &naInstrucao), abrirRelatorio(&naJanela)});
    executa(QStringLiteral("DELETE FROM orcamento"));
    if (naJanela != naInstrucao)
        falha(QStringLiteral("the report with budgets shows %1 rows, its statement %2").arg(naJanela).arg(naInstrucao));
    quadro.base(QStringLiteral("instrução do relatório (base)"), tamanho, r.at(0));
    quadro.compara(QStringLiteral("abrir o relatório com gráfico e orçamentos"), tamanho, r.at(1),
                   QStringLiteral("instrução do relatório"), r.at(0), 1.2);

    const QVector<Medida> g = mede({desenha(10, 8), desenha(100, 8), desenha(100, 100)});
    quadro.base(QStringLiteral("gráfico de 10 categorias (base)"), 10, g.at(0));
    quadro.compara(QStringLiteral("gráfico de 100 categorias, oito e Outros"), 100, g.at(1),
                   QStringLiteral("10 categorias"), g.at(0), 1.25);
    quadro.compara(QStringLiteral("gráfico de 100 categorias sem agrupar"), 100, g.at(2),
                   QStringLiteral("10 categorias"), g.at(0));
}
