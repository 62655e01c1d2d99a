#include "rules/regra.h"

#include <algorithm>

const QVector<DescricaoDoCampo> &camposDeRegra()
{
    static const QVector<DescricaoDoCampo> campos {
        {CampoDaRegra::Fornecedor, QStringLiteral("Fornecedor"), true, false},
        {CampoDaRegra::Descricao, QStringLiteral("Descrição"), false, true},
        {CampoDaRegra::Ambos, QStringLiteral("Fornecedor ou descrição"), true, true},
    };
    return campos;
}

const DescricaoDoCampo &descricaoDoCampo(CampoDaRegra campo)
{
    const auto &campos = camposDeRegra();
    return *std::find_if(campos.begin(), campos.end(),
                         [campo](const DescricaoDoCampo &d) { return d.campo == campo; });
}

CampoDaRegra campoDosTextos(bool noFornecedor, bool naDescricao)
{
    const auto &campos = camposDeRegra();
    const auto achado = std::find_if(campos.begin(), campos.end(), [&](const DescricaoDoCampo &d) {
        return d.noFornecedor == noFornecedor && d.naDescricao == naDescricao;
    });
    return achado == campos.end() ? CampoDaRegra::Ambos : achado->campo;
}
