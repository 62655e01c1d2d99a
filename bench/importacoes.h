#ifndef BENCH_IMPORTACOES_H
#define BENCH_IMPORTACOES_H

class Quadro;

// Marking the repeated rows of a preview of gastos/100 rows, and undoing an
// import of gastos/10 rows, each beside its bare statement: reading the
// expenses of the preview's date range, and a DELETE of the same rows.
// Runs on the default connection's database, holding `gastos` expenses.
void medeImportacoes(Quadro &quadro, int gastos);

#endif // BENCH_IMPORTACOES_H
