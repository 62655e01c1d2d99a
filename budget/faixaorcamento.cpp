#include "budget/faixaorcamento.h"

#include <QtGlobal>

namespace {

const int alertaAPartirDe = 80; // percent

} // namespace

// In whole cents, so that 80% of R$ 1.446,90 is exactly the border.
FaixaOrcamento faixaDoOrcamento(qint64 gasto, qint64 orcamento)
{
    if (orcamento <= 0)
        return FaixaOrcamento::Folgado;
    if (gasto > orcamento)
        return FaixaOrcamento::Estourado;
    return gasto * 100 >= orcamento * alertaAPartirDe ? FaixaOrcamento::Alerta : FaixaOrcamento::Folgado;
}

QColor corDaFaixa(FaixaOrcamento faixa)
{
    switch (faixa) {
    case FaixaOrcamento::Alerta:
        return QColor(255, 204, 102);
    case FaixaOrcamento::Estourado:
        return QColor(239, 125, 112);
    case FaixaOrcamento::Folgado:
        break;
    }
    return QColor();
}
