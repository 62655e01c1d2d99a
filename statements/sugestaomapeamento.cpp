#include "statements/sugestaomapeamento.h"

#include "statements/data.h"
#include "statements/parcela.h"
#include "statements/textoextrato.h"

#include <numeric>

namespace {

const int linhasDeAmostra = 20;

using Amostra = QVector<QStringList>;

bool todosSao(const Amostra &amostra, int coluna, const std::function<bool(const QString &)> &teste)
{
    bool algum = false;
    for (const QStringList &campos : amostra) {
        const QString campo = campos.value(coluna);
        if (!campo.isEmpty() && !teste(campo))
            return false;
        algum = algum || !campo.isEmpty();
    }
    return algum;
}

bool ehValor(const QString &campo)
{
    return leCentavos(campo, NotacaoValor::VirgulaDecimal) || leCentavos(campo, NotacaoValor::PontoDecimal);
}

int colunaPeloNome(const QStringList &nomes, const QVector<int> &candidatas, const QString &padrao)
{
    const QRegularExpression nome(padrao, QRegularExpression::CaseInsensitiveOption);
    for (int c : candidatas) {
        if (nome.match(nomes.at(c)).hasMatch())
            return c;
    }
    return -1;
}

void sugereData(const Amostra &amostra, int colunas, LayoutExtrato *layout)
{
    for (int c = 0; c < colunas; ++c) {
        for (const QString &formato : formatosDeData()) {
            if (todosSao(amostra, c, [&](const QString &t) { return leData(t, formato).isValid(); })) {
                layout->colunas.data = c;
                layout->formatoData = formato;
                return;
            }
        }
    }
}

void sugereValores(const Amostra &amostra, const QStringList &nomes, const QVector<int> &valores, LayoutExtrato *layout)
{
    ColunasExtrato &c = layout->colunas;
    c.entrada = colunaPeloNome(nomes, valores, QStringLiteral("entrada|cr[ée]dito"));
    c.saida = colunaPeloNome(nomes, valores, QStringLiteral("sa[íi]da|d[ée]bito"));
    if (c.entrada < 0 || c.saida < 0) {
        c.entrada = c.saida = -1;
        c.valor = colunaPeloNome(nomes, valores, QStringLiteral("valor|amount|quantia"));
        if (c.valor < 0)
            c.valor = valores.value(0, -1);
    }
    int negativos = 0;
    for (const QStringList &campos : amostra) {
        for (int v : valores)
            layout->notacao = escritoComVirgula(campos.value(v)) ? NotacaoValor::VirgulaDecimal : layout->notacao;
        negativos += campos.value(c.valor).startsWith(QLatin1Char('-')) ? 1 : -1;
    }
    // In and out columns tell the sign by which one holds the amount, as a checking account's do.
    layout->sinal = c.valor < 0 || negativos >= 0 ? Sinal::SaidaNegativa : Sinal::SaidaPositiva;
}

} // namespace

QString nomeDoLayoutMapeado()
{
    return QStringLiteral("CSV com colunas escolhidas");
}

const QStringList &formatosDeData()
{
    static const QStringList formatos {"dd/MM/yyyy", "dd/MM/yy", "yyyy-MM-dd", "dd-MM-yyyy", "dd.MM.yyyy",
                                       "MM/dd/yyyy", "yyyyMMdd"};
    return formatos;
}

LayoutExtrato sugereMapeamento(const QStringList &linhas, int cabecalho, QChar separador)
{
    LayoutExtrato layout;
    layout.nome = nomeDoLayoutMapeado();
    layout.separador = separador;
    layout.cabecalho = camposDaLinha(linhas.at(cabecalho), separador, Aspas::Protegem);
    layout.notacao = NotacaoValor::PontoDecimal;
    layout.formatoData = formatosDeData().first();
    Amostra amostra;
    for (int n = cabecalho + 1; n < linhas.size() && amostra.size() < linhasDeAmostra; ++n) {
        if (!linhas.at(n).trimmed().isEmpty())
            amostra << camposDaLinha(linhas.at(n), separador, Aspas::Protegem);
    }
    sugereData(amostra, layout.cabecalho.size(), &layout);
    QVector<int> valores, textos;
    for (int c = 0; c < layout.cabecalho.size(); ++c) {
        if (c != layout.colunas.data)
            (todosSao(amostra, c, ehValor) ? valores : textos) << c;
    }
    sugereValores(amostra, layout.cabecalho, valores, &layout);
    // On a card's statement an instalment stands in a column of its own, or else in the text.
    QVector<int> todas(layout.cabecalho.size());
    std::iota(todas.begin(), todas.end(), 0);
    layout.colunaParcela = colunaPeloNome(layout.cabecalho, todas, QStringLiteral("^(parcela|parcelas|installment)$"));
    layout.formasDeParcela = ParcelaPorExtenso;
    textos.removeAll(layout.colunaParcela);
    layout.colunas.fornecedor = {textos.value(0, -1)};
    layout.colunas.descricao = {textos.value(textos.size() > 1 ? 1 : 0, -1)};
    return layout;
}
