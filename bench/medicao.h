#ifndef MEDICAO_H
#define MEDICAO_H

#include <QVector>

#include <functional>

// Timing and memory figures for the benchmark.

struct Medida
{
    QVector<double> temposS; // wall time of each run, in seconds, in the order run
    double medianaS = 0;     // their median
    double picoMiB = 0;      // the process's peak resident memory during the runs
};

// The median of the run-by-run ratios of medido to referencia. Runs of one
// round follow each other closely, so a burst of load elsewhere on the
// machine tends to fall on both sides of a ratio and cancel out.
double razaoPareada(const Medida &medido, const Medida &referencia);

// What is measured: executa() is timed; prepara() before it and encerra()
// after it are not, and encerra() frees what the run left behind so that
// the next run's peak memory is its own.
struct Operacao
{
    std::function<void()> prepara = [] {};
    std::function<void()> executa;
    std::function<void()> encerra = [] {};
};

// Runs the operations in turn, `vezes` rounds, so that a change in the
// machine's load falls on all of them alike, every other round in reverse
// order; one result per operation.
QVector<Medida> mede(const QVector<Operacao> &operacoes, int vezes = 5);

#endif // MEDICAO_H
