#ifndef BENCH_LANCAMENTOS_H
#define BENCH_LANCAMENTOS_H

class Quadro;

// The register over the `gastos` expenses loaded: opened as the main window
// opens it, and a search typed into it, each beside the two statements it
// sends for its first screenful (the first page, and the count and total
// beneath it), run bare with the same values.
void medeLancamentos(Quadro &quadro, int gastos);

#endif // BENCH_LANCAMENTOS_H
