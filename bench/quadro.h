#ifndef QUADRO_H
#define QUADRO_H

#include "bench/medicao.h"

#include <QString>

// The benchmark's one table: each row an operation with its median, its
// peak memory and, beside a baseline of the same run, the ratio to it (see
// razaoPareada) and whether the target was met.
class Quadro
{
public:
    Quadro();

    void base(const QString &operacao, int tamanho, const Medida &medido);
    // razaoMaxima and picoMaximoMiB of 0 mean no target.
    void compara(const QString &operacao, int tamanho, const Medida &medido, const QString &sobre,
                 const Medida &referencia, double razaoMaxima = 0, double picoMaximoMiB = 0);
    // A line of its own between rows, for what the rows leave unsaid.
    void nota(const QString &texto);
    // The count of targets met and missed; returns whether all were met.
    bool resumo() const;

private:
    int m_cumpridas = 0;
    int m_perdidas = 0;
};

#endif // QUADRO_H
