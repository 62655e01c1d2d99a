#include "medicao.h"

#include <QElapsedTimer>
#include <QFile>
#include <QVector>

#include <malloc.h>

#include <algorithm>
#include <cstdio>

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

Comparacao compara(const Operacao &base, const Operacao &medida, int vezes)
{
    QVector<double> tempos[2];
    Resultado resultados[2];
    const Operacao *operacoes[2] = {&base, &medida};
    for (int i = 0; i < vezes; ++i) {
        for (int j = 0; j < 2; ++j) {
            operacoes[j]->prepara();
            zeraPico();
            QElapsedTimer relogio;
            relogio.start();
            operacoes[j]->executa();
            tempos[j] << relogio.nsecsElapsed() / 1e9;
            resultados[j].picoMiB = std::max(resultados[j].picoMiB, picoMiB());
            operacoes[j]->encerra();
        }
    }
    for (int j = 0; j < 2; ++j)
        resultados[j].medianaS = mediana(tempos[j]);
    return {resultados[0], resultados[1]};
}

namespace {
// printf pads by bytes; the names carry accents.
QByteArray coluna(const QString &texto, int largura)
{
    return texto.leftJustified(largura).toUtf8();
}
} // namespace

void imprimeCabecalho()
{
    std::printf("%s %9s %12s %12s %s %10s\n", coluna(QStringLiteral("operação"), 34).constData(), "tamanho",
                "mediana (s)", "base (s)", coluna(QStringLiteral("  razão"), 7).constData(), "pico (MiB)");
}

void imprimeComparacao(const QString &base, const QString &medida, int tamanho, const Comparacao &resultado)
{
    std::printf("%s %9d %12.4f %12s %7s %10.1f\n", coluna(base, 34).constData(), tamanho, resultado.base.medianaS,
                "-", "-", resultado.base.picoMiB);
    std::printf("%s %9d %12.4f %12.4f %7.2f %10.1f\n", coluna(medida, 34).constData(), tamanho,
                resultado.medido.medianaS, resultado.base.medianaS, resultado.medido.medianaS / resultado.base.medianaS,
                resultado.medido.picoMiB);
    std::fflush(stdout);
}
