#ifndef BENCH_PREVIA_H
#define BENCH_PREVIA_H

#include "bench/medicao.h"

#include <QDate>
#include <QString>

class Quadro;

// The preview marks its repeated rows as it reads a file, so its target is
// the read target plus the marking's: 4× reading and splitting the file
// plus 2× the one statement that reads the expenses of the file's dates.

// That statement, bare, on the default connection.
Operacao lerAsDatas(const QDate &primeira, const QDate &ultima);

// The rows of a preview measured beside both baselines of the same runs.
void comparaPrevia(Quadro &quadro, const QString &operacao, int tamanho, const Medida &previa,
                   const Medida &leitura, const Medida &datas, double picoMaximoMiB = 0);

#endif // BENCH_PREVIA_H
