#ifndef PREENCHIMENTOEMBLOCO_H
#define PREENCHIMENTOEMBLOCO_H

#include <functional>

class QTableWidget;

// Puts `linhas` new rows above those already in the preview grid (its four
// columns), preencheLinha(linha) filling each, and tells the views and the
// grid's listeners once for all the cells rather than once per cell: a
// statement has tens of thousands of them.
void preencheEmBloco(QTableWidget *grade, int linhas, const std::function<void(int)> &preencheLinha);

#endif // PREENCHIMENTOEMBLOCO_H
