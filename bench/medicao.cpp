#include "bench/medicao.h"

#include <QElapsedTimer>
#include <QFile>

#include <malloc.h>

#include <algorithm>

namespace {

// Linux keeps the peak resident size in VmHWM; writing 5 to clear_refs sets
// it back to the current size, so each run's own peak can be read. Freed
// heap is handed back first, or it would count towards the next run.
void zeraPico()
{
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double picoMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &linha : status.readAll().split('\n')) {
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double mediana(QVector<double> valores)
{
    std::sort(valores.begin(), valores.end());
    const int meio = valores.size() / 2;
    return valores.size() % 2 ? valores.at(meio) : (valores.at(meio - 1) + valores.at(meio)) / 2;
}

} // namespace

QVector<Medida> mede(const QVector<Operacao> &operacoes, int vezes)
{
    QVector<Medida> resultados(operacoes.size());
    for (int rodada = 0; rodada < vezes; ++rodada) {
        for (int passo = 0; passo < operacoes.size(); ++passo) {
            // Every other round runs backwards, so that no operation always
            // follows the same one (and the work the server left behind).
            const int i = rodada % 2 ? operacoes.size() - 1 - passo : passo;
            operacoes.at(i).prepara();
            zeraPico();
            QElapsedTimer relogio;
            relogio.start();
            operacoes.at(i).executa();
            resultados[i].temposS << relogio.nsecsElapsed() / 1e9;
            resultados[i].picoMiB = std::max(resultados[i].picoMiB, picoMiB());
            operacoes.at(i).encerra();
        }
    }
    for (Medida &resultado : resultados)
        resultado.medianaS = mediana(resultado.temposS);
    return resultados;
}

double razaoPareada(const Medida &medido, const Medida &referencia)
{
    QVector<double> razoes;
    for (int i = 0; i < medido.temposS.size(); ++i)
        razoes << medido.temposS.at(i) / referencia.temposS.at(i);
    return mediana(razoes);
}
