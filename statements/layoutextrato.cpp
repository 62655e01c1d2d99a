#include "statements/layoutextrato.h"

#include "statements/parcela.h"
#include "statements/textoextrato.h"

namespace {

const int colunasDoLayoutProprio = 4;
const int maximoDeUmaColunaCurta = 32;

// A card's layout, with where its instalments stand.
LayoutExtrato deCartao(LayoutExtrato layout, int formas, int coluna = -1, bool dataDaCompra = false)
{
    layout.formasDeParcela = formas;
    layout.colunaParcela = coluna;
    layout.dataDaCompra = dataDaCompra;
    return layout;
}

QRegularExpression semDiferencaDeCaixa(const QString &padrao)
{
    return QRegularExpression(padrao, QRegularExpression::CaseInsensitiveOption);
}

QVector<LayoutExtrato> layouts()
{
    using N = NotacaoValor;
    const QString brasileira = QStringLiteral("dd/MM/yyyy");
    const QRegularExpression nada;
    // Itaú writes every balance line as "SALDO" and a word or two; a shop "SALDOS & CIA" is a purchase.
    const QRegularExpression saldoItau(QStringLiteral("^SALDO(\\s|$)"));
    return {
        {QStringLiteral("Nubank — conta corrente (CSV)"), {"Data", "Valor", "Identificador", "Descrição"},
         ',', brasileira, N::PontoDecimal, {0, {3}, 1, -1, -1, {3}, 2}, Sinal::SaidaNegativa, nada,
         // "Compra no débito - PADARIA REAL", "Transferência enviada pelo Pix - MARIA - •••.123..."
         QRegularExpression(QStringLiteral("^[^-]+ - (?<f>[^-]+?)( - |$)"))},
        deCartao({QStringLiteral("Nubank — cartão de crédito (CSV)"), {"date", "title", "amount"},
                  ',', QStringLiteral("yyyy-MM-dd"), N::PontoDecimal, {0, {1}, 2, -1, -1, {1}, -1},
                  Sinal::SaidaPositiva, nada, nada, nada, false, false, true},
                 ParcelaPorExtenso),
        deCartao({QStringLiteral("Nubank — cartão de crédito (CSV)"), {"date", "category", "title", "amount"},
                  ',', QStringLiteral("yyyy-MM-dd"), N::PontoDecimal, {0, {2}, 3, -1, -1, {2}, -1},
                  Sinal::SaidaPositiva, nada, nada, nada, false, false, true},
                 ParcelaPorExtenso),
        {QStringLiteral("Inter — conta corrente (CSV)"), {"Data Lançamento", "Histórico", "Descrição", "Valor", "Saldo"},
         ';', brasileira, N::VirgulaDecimal, {0, {2, 1}, 3, -1, -1, {1, 2}, -1}, Sinal::SaidaNegativa, nada, nada},
        deCartao({QStringLiteral("Inter — cartão de crédito (CSV)"), {"Data", "Lançamento", "Categoria", "Tipo", "Valor"},
                  ',', brasileira, N::VirgulaDecimal, {0, {1}, 4, -1, -1, {1, 3}, -1}, Sinal::SaidaPositiva, nada,
                  nada},
                 0, 3),
        {QStringLiteral("C6 — conta corrente (CSV)"),
         {"Data Lançamento", "Data Contábil", "Título", "Descrição", "Entrada(R$)", "Saída(R$)", "Saldo do Dia(R$)"},
         ',', brasileira, N::PontoDecimal, {0, {3, 2}, -1, 4, 5, {2, 3}, -1}, Sinal::SaidaNegativa, nada, nada},
        // The date is the purchase's, on every instalment.
        deCartao({QStringLiteral("C6 — cartão de crédito (CSV)"),
                  {"Data de Compra", "Nome no Cartão", "Final do Cartão", "Categoria", "Descrição", "Parcela",
                   "Valor (em US$)", "Cotação (em R$)", "Valor (em R$)"},
                  ';', brasileira, N::PontoDecimal, {0, {4}, 8, -1, -1, {4, 5}, -1}, Sinal::SaidaPositiva, nada, nada},
                 0, 5, true),
        // Pix rows carry the bank's "03/11 10:29 " before the counterparty.
        {QStringLiteral("Banco do Brasil — conta corrente (CSV)"),
         {"Data", "Lançamento", "Detalhes", "Nº documento", "Valor", "Tipo Lançamento"},
         ',', brasileira, N::VirgulaDecimal, {0, {2, 1}, 4, -1, -1, {1, 2}, -1}, Sinal::SaidaNegativa, nada,
         QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d \\d\\d:\\d\\d (?<f>.+)$"))},
        {QStringLiteral("Itaú — conta corrente (CSV)"), {"data", "lançamento", "ag./origem", "valor", "saldo"},
         ';', brasileira, N::VirgulaDecimal, {0, {1}, 3, -1, -1, {1}, -1}, Sinal::SaidaNegativa, nada, nada,
         saldoItau},
        // Older Itaú files: no header, three columns.
        {QStringLiteral("Itaú — conta corrente (CSV)"), {"data", "lançamento", "valor"},
         ';', brasileira, N::VirgulaDecimal, {0, {1}, 2, -1, -1, {1}, -1}, Sinal::SaidaNegativa, nada, nada, saldoItau,
         true},
        {QStringLiteral("Bradesco — conta corrente (CSV)"),
         {"Data", "Histórico", "Docto.", "Crédito (R$)", "Débito (R$)", "Saldo (R$)"},
         ';', QStringLiteral("dd/MM/yy"), N::VirgulaDecimal, {0, {1}, -1, 3, 4, {1}, -1}, Sinal::SaidaNegativa,
         semDiferencaDeCaixa(QStringLiteral("^;*(total|últimos lançamentos|os dados acima)")), nada, nada, false,
         true},
    };
}

} // namespace

const QVector<LayoutExtrato> &layoutsDosBancos()
{
    static const QVector<LayoutExtrato> todos = layouts();
    return todos;
}

int maximoDaLinhaDoLayout(const LayoutExtrato &layout)
{
    return maximoDaLinha + qMax(0, layout.cabecalho.size() - colunasDoLayoutProprio) * maximoDeUmaColunaCurta;
}
