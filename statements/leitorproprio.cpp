#include "statements/leitorproprio.h"

#include "statements/textoextrato.h"

namespace {

const int colunas = 4;

// A no-break space keeps "R$" with its amount when the box wraps the line.
const char layoutProprio[] =
    "O programa lê extratos com quatro campos separados por “;”: data;nome;valor;descrição, "
    "por exemplo 05/03/2024;Mercado;R$\u00a01.234,56;compras do mês.";

QString porQueMalformada(int linha, int campos)
{
    return QStringLiteral("O arquivo não está num formato que o programa conheça: a linha %1 tem %2.\n")
               .arg(linha + 1)
               .arg(campos == 1 ? QStringLiteral("1 campo") : QStringLiteral("%1 campos").arg(campos))
           + QString::fromUtf8(layoutProprio);
}

} // namespace

LeituraPropria leLayoutProprio(const QStringList &linhas)
{
    LeituraPropria leitura;
    // A line no record can hold would only be refused by the server, after
    // costing seconds and memory in the grid.
    const int longa = linhaLongaDemais(linhas);
    if (longa >= 0) {
        leitura.erro = QStringLiteral("A linha %1 do arquivo passa de %2 caracteres, mais do que um gasto "
                                      "pode guardar. Nenhuma linha do arquivo foi lida.")
                           .arg(longa + 1)
                           .arg(maximoDaLinha);
        return leitura;
    }
    leitura.celulas.reserve(linhas.size());
    for (int n = 0; n < linhas.size(); ++n) {
        const int separadores = int(linhas.at(n).count(QLatin1Char(';')));
        if (separadores != colunas - 1 && leitura.primeiraMalformada < 0) {
            leitura.primeiraMalformada = n;
            leitura.erro = porQueMalformada(n, separadores + 1);
        }
        leitura.celulas << camposDaLinha(linhas.at(n), QLatin1Char(';'), Aspas::Removidas, colunas);
    }
    return leitura;
}
