#ifndef FAIXAORCAMENTO_H
#define FAIXAORCAMENTO_H

#include <QColor>

// How far a month's spending has gone into its budget: amber from 80%, red
// above 100%.
enum class FaixaOrcamento { Folgado, Alerta, Estourado };

// Both amounts in cents.
FaixaOrcamento faixaDoOrcamento(qint64 gasto, qint64 orcamento);

// The tint of a cell in that band; an invalid colour (no tint) for Folgado.
QColor corDaFaixa(FaixaOrcamento faixa);

#endif // FAIXAORCAMENTO_H
