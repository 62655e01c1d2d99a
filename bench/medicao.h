#ifndef MEDICAO_H
#define MEDICAO_H

#include <QString>

#include <functional>

// Timing and memory figures for the benchmark, and the table they are
// printed in.

struct Resultado
{
    double medianaS = 0;  // median wall time of the runs, in seconds
    double picoMiB = 0;   // the process's peak resident memory during the runs
};

// What is measured: executa() is timed; prepara() before it and encerra()
// after it are not, and encerra() frees what the run left behind so that
// the next run's peak memory is its own.
struct Operacao
{
    std::function<void()> prepara;
    std::function<void()> executa;
    std::function<void()> encerra = [] {};
};

struct Comparacao
{
    Resultado base;
    Resultado medido;
};

// Runs the baseline and the measured operation alternately, `vezes` times
// each, so that a change in the machine's load falls on both.
Comparacao compara(const Operacao &base, const Operacao &medida, int vezes = 5);

void imprimeCabecalho();
// Two rows of the table: the baseline, then the operation with its ratio.
void imprimeComparacao(const QString &base, const QString &medida, int tamanho, const Comparacao &resultado);

#endif // MEDICAO_H
