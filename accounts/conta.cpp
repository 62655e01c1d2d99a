#include "accounts/conta.h"

#include <algorithm>

const QVector<DescricaoDoTipo> &tiposDeConta()
{
    static const QVector<DescricaoDoTipo> tipos {
        {TipoDeConta::Corrente, QStringLiteral("Conta corrente"), true},
        {TipoDeConta::Poupanca, QStringLiteral("Poupança"), true},
        {TipoDeConta::Cartao, QStringLiteral("Cartão de crédito"), false},
        {TipoDeConta::Dinheiro, QStringLiteral("Dinheiro"), true},
    };
    return tipos;
}

const DescricaoDoTipo &descricaoDoTipo(TipoDeConta tipo)
{
    const auto &tipos = tiposDeConta();
    return *std::find_if(tipos.begin(), tipos.end(), [tipo](const DescricaoDoTipo &d) { return d.tipo == tipo; });
}
