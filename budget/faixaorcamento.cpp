#include "budget/faixaorcamento.h"

#include <QtGlobal>

namespace {

const int alertaAPartirDe = 80; // percent

// In whole cents, so that 80% of R$ 1.446,90 is exactly the border.
qint64 centavos(double valor)
{
    return qRound64(valor * 100);
}

} // namespace

FaixaOrcamento faixaDoOrcamento(double gasto, double orcamento)
{
    const qint64 gastos = centavos(gasto), limite = centavos(orcamento);
    if (limite <= 0)
        return FaixaOrcamento::Folgado;
    if (gastos > limite)
        return FaixaOrcamento::Estourado;
    return gastos * 100 >= limite * alertaAPartirDe ? FaixaOrcamento::Alerta : FaixaOrcamento::Folgado;
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
