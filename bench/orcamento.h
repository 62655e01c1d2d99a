#ifndef ORCAMENTO_H
#define ORCAMENTO_H

#include <QString>

class Quadro;

// The report's chart and budgets: the report opened with a budget for every
// category beside its statement alone (sql, as the report sends it), on the
// tamanho expenses loaded; then the chart drawn for 100 categories beside ten,
// which the "Outros" grouping should keep alike.
void medeOrcamento(Quadro &quadro, const QString &sql, int tamanho);

#endif // ORCAMENTO_H
