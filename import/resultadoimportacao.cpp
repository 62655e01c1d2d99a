#include "import/resultadoimportacao.h"

#include "messages/formatacao.h"
#include "statements/data.h"
#include "statements/naogastos.h"

#include <QStringList>

namespace {

using GradeDaPrevia::Destino;

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
    {&ResultadoImportacao::classificadasPelaCompra, "%1 parcela classificada como as outras da mesma compra.",
     "%1 parcelas classificadas como as outras das mesmas compras."},
};

// One line per kind of row that is not an expense, with its total: %1 the
// count, %2 the total.
struct NaoGasto
{
    bool (*eh)(const GradeDaPrevia::Linha &linha);
    const char *singular;
    const char *plural;
};

const NaoGasto tiposDeNaoGasto[] = {
    {[](const GradeDaPrevia::Linha &l) { return l.destino == Destino::Entrada; },
     "%1 entrada de %2 não é gasto: foi para as entradas.",
     "%1 entradas, total de %2, não são gastos: foram para as entradas."},
    {[](const GradeDaPrevia::Linha &l) {
         return l.destino == Destino::Transferencia && l.natureza == Natureza::PagamentoDeFatura;
     },
     "%1 pagamento de fatura de %2 não é gasto: é uma transferência entre contas suas.",
     "%1 pagamentos de fatura, total de %2, não são gastos: são transferências entre contas suas."},
    {[](const GradeDaPrevia::Linha &l) {
         return l.destino == Destino::Transferencia && l.natureza != Natureza::PagamentoDeFatura;
     },
     "%1 transferência entre contas suas, de %2, não é gasto.",
     "%1 transferências entre contas suas, total de %2, não são gastos."},
    {[](const GradeDaPrevia::Linha &l) { return l.destino == Destino::DeFora; },
     "%1 linha de %2 ficou de fora: não é lançamento.", "%1 linhas, total de %2, ficaram de fora: não são lançamentos."},
};

QString oQueFoi(const GradeDaPrevia::Linha &linha)
{
    for (const NaoGasto &tipo : tiposDeNaoGasto) {
        if (tipo.eh(linha))
            return QString::fromUtf8(tipo.plural).section(QLatin1Char(':'), 1).trimmed();
    }
    return QString();
}

} // namespace

QString textoDoResumo(const ResultadoImportacao &resultado)
{
    QStringList linhas {contagem(resultado.gravadas, "%1 gasto gravado, total de %2.", "%1 gastos gravados, total de %2.")
                            .arg(centavosEmReais(resultado.centavos))};
    for (const NaoGasto &tipo : tiposDeNaoGasto) {
        int quantas = 0;
        qint64 soma = 0;
        for (const GradeDaPrevia::Linha &linha : resultado.naoGastos) {
            quantas += tipo.eh(linha);
            soma += tipo.eh(linha) ? qAbs(linha.centavos.value_or(0)) : 0;
        }
        if (quantas > 0)
            linhas << contagem(quantas, tipo.singular, tipo.plural).arg(centavosEmReais(soma));
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
    for (const GradeDaPrevia::Linha &linha : resultado.naoGastos) {
        const QString data = linha.data ? dataNaGrade(*linha.data) : QStringLiteral("sem data");
        const QString valor = linha.centavos ? centavosEmReais(qAbs(*linha.centavos)) : QStringLiteral("sem valor");
        linhas << QStringLiteral("%1 — %2 — %3: %4").arg(data, linha.descricao, valor, oQueFoi(linha));
    }
    return linhas.join(QLatin1Char('\n'));
}
