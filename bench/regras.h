#ifndef BENCH_REGRAS_H
#define BENCH_REGRAS_H

#include <QString>

class BancoTeste;
class Quadro;

// Classification rules at work, 200 of them, every 25th matching one of the
// suppliers the statement and the synthetic expenses share, the rest none.

// The import of a statement of `linhas` rows with the rules beside the same
// import without any. Needs gastos empty; leaves it so.
void medeRegrasNaImportacao(BancoTeste &banco, const QString &pasta, int linhas, Quadro &quadro);

// "Aplicar às despesas não classificadas" (the count its question shows,
// then the rules) beside one bare UPDATE per rule in the same order, over the
// `gastos` expenses loaded; leaves them as they were.
void medeAplicacaoDasRegras(BancoTeste &banco, int gastos, Quadro &quadro);

#endif // BENCH_REGRAS_H
