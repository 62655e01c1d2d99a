#ifndef MEDICAO_H
#define MEDICAO_H

#include <QVector>

#include <functional>

// Timing and memory figures for the benchmark.

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
    std::function<void()> prepara = [] {};
    std::function<void()> executa;
    std::function<void()> encerra = [] {};
};

// Runs the operations in turn, `vezes` rounds, so that a change in the
// machine's load falls on all of them alike; one result per operation.
QVector<Resultado> mede(const QVector<Operacao> &operacoes, int vezes = 5);

#endif // MEDICAO_H
