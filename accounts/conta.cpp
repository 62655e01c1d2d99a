#include "accounts/conta.h"

#include <algorithm>

const QVector<DescricaoDoTipo> &tiposDeConta()
{
    static const QVector<DescricaoDoTipo> tipos {
        {TipoDeConta::Corrente, QStringLiteral("Conta corrente")},
        {TipoDeConta::Poupanca, QStringLiteral("Poupança")},
        {TipoDeConta::Cartao, QStringLiteral("Cartão de crédito")},
        {TipoDeConta::Dinheiro, QStringLiteral("Dinheiro")},
    };
    return tipos;
}

const DescricaoDoTipo &descricaoDoTipo(TipoDeConta tipo)
{
    const auto &tipos = tiposDeConta();
    return *std::find_if(tipos.begin(), tipos.end(), [tipo](const DescricaoDoTipo &d) { return d.tipo == tipo; });
}
