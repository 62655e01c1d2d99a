#ifndef LARGURADASCOLUNAS_H
#define LARGURADASCOLUNAS_H

class QTableView;

// Sizes every column of a freshly filled grid to its contents, none wider
// than a cap, so one long description cannot push the other columns off
// screen; the last column then takes whatever room is left.
void ajustaLarguraDasColunas(QTableView *tabela);

#endif // LARGURADASCOLUNAS_H
