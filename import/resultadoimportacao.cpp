#include "import/resultadoimportacao.h"

#include "messages/formatacao.h"
#include "statements/data.h"
#include "statements/naogastos.h"

#include <QStringList>

namespace {

// The lines that appear only when their count is not zero.
struct LinhaOpcional
{
    int ResultadoImportacao::*contagem;
    const char *singular;
    const char *plural;
};

const LinhaOpcional linhasOpcionais[] = {
    {&ResultadoImportacao::repetidasDeixadas, "%1 linha repetida ficou de fora.",
     "%1 linhas repetidas ficaram de fora."},
    {&ResultadoImportacao::classificadasPorRegras, "%1 gasto classificado pelas regras.",
     "%1 gastos classificados pelas regras."},
};

// One line per kind of row that is not spending.
struct DeFora
{
    Natureza natureza;
    const char *singular;
    const char *plural;
    bool comTotal; // %2: the rows' total
};

const DeFora tiposDeFora[] = {
    {Natureza::PagamentoDeFatura, "%1 pagamento de fatura de %2 ficou de fora: não é gasto.",
     "%1 pagamentos de fatura, total de %2, ficaram de fora: não são gastos.", true},
    {Natureza::NaoLancamento, "%1 linha de saldo ficou de fora: não é lançamento.",
     "%1 linhas de saldo ficaram de fora: não são lançamentos.", false},
};

} // namespace

QString textoDoResumo(const ResultadoImportacao &resultado)
{
    QStringList linhas {contagem(resultado.gravadas, "%1 gasto gravado, total de %2.", "%1 gastos gravados, total de %2.")
                            .arg(centavosEmReais(resultado.centavos))};
    for (const DeFora &tipo : tiposDeFora) {
        int quantas = 0;
        qint64 soma = 0;
        for (const GradeDaPrevia::Linha &linha : resultado.deFora) {
            quantas += linha.natureza == tipo.natureza;
            soma += linha.natureza == tipo.natureza ? qAbs(linha.centavos.value_or(0)) : 0;
        }
        const QString texto = contagem(quantas, tipo.singular, tipo.plural);
        if (quantas > 0)
            linhas << (tipo.comTotal ? texto.arg(centavosEmReais(soma)) : texto);
    }
    for (const LinhaOpcional &opcional : linhasOpcionais) {
        const int n = resultado.*opcional.contagem;
        if (n > 0)
            linhas << contagem(n, opcional.singular, opcional.plural);
    }
    return linhas.join(QLatin1Char('\n'));
}

QString detalhesDoResumo(const ResultadoImportacao &resultado)
{
    QStringList linhas;
    for (const GradeDaPrevia::Linha &linha : resultado.deFora) {
        const QString data = linha.data ? dataNaGrade(*linha.data) : QStringLiteral("sem data");
        const QString valor = linha.centavos ? centavosEmReais(qAbs(*linha.centavos)) : QStringLiteral("sem valor");
        linhas << QStringLiteral("%1 — %2 — %3: %4").arg(data, linha.descricao, valor, porQueFicaDeFora(linha.natureza));
    }
    return linhas.join(QLatin1Char('\n'));
}
