#include "statements/reconhecimentoextrato.h"

#include "statements/data.h"
#include "statements/layoutextrato.h"
#include "statements/leitorcsvbanco.h"
#include "statements/leitorofx.h"
#include "statements/textoextrato.h"

namespace {

// A preamble (account, period, balance) stands above the header in a few banks' files.
const int linhasDePreambulo = 30;

const QList<QPair<QByteArray, QString>> &assinaturasRecusadas()
{
    static const QList<QPair<QByteArray, QString>> assinaturas {
        {QByteArray("PK\x03\x04"), QStringLiteral("uma planilha (.xlsx ou .ods)")},
        {QByteArray("\xD0\xCF\x11\xE0"), QStringLiteral("uma planilha do Excel (.xls)")},
        {QByteArray("%PDF"), QStringLiteral("um PDF")},
    };
    return assinaturas;
}

QString esperado()
{
    return QStringLiteral("O Finara lê extratos em OFX, os CSV do Nubank, Inter, C6, Banco do Brasil, Itaú e "
                          "Bradesco, arquivos delimitados com uma linha de cabeçalho e o seu próprio formato "
                          "(data;nome;valor;descrição).");
}

bool pareceData(const QString &campo)
{
    static const QRegularExpression data(QStringLiteral("^\\d{1,4}[-/.]\\d{1,2}[-/.]\\d{1,4}"));
    return data.match(campo).hasMatch();
}

bool ehDataOuValor(const QString &campo)
{
    return campo.isEmpty() || pareceData(campo) || leCentavos(campo, NotacaoValor::VirgulaDecimal);
}

bool ehLinhaPropria(const QString &linha)
{
    return camposDaLinha(linha, QLatin1Char(';'), Aspas::Removidas).size() == 4;
}

// A header of names over rows of the same width that carry a date.
bool ehCabecalhoDesconhecido(const QStringList &linhas, int n, QChar separador)
{
    const QStringList nomes = camposDaLinha(linhas.at(n), separador, Aspas::Protegem);
    if (nomes.size() < 3 || std::any_of(nomes.cbegin(), nomes.cend(), ehDataOuValor))
        return false;
    for (int seguinte = n + 1; seguinte < linhas.size(); ++seguinte) {
        if (linhas.at(seguinte).trimmed().isEmpty())
            continue;
        const QStringList campos = camposDaLinha(linhas.at(seguinte), separador, Aspas::Protegem);
        return campos.size() == nomes.size() && std::any_of(campos.cbegin(), campos.cend(), pareceData);
    }
    return false;
}

// A file without a header is recognised by its rows: the first a dated row
// of the layout, and every one of the layout's width.
bool ehLinhaDoLayout(const QString &linha, const LayoutExtrato &layout)
{
    const QStringList campos = camposDaLinha(linha, layout.separador, Aspas::Protegem);
    return campos.size() == layout.cabecalho.size()
           && leData(campos.at(layout.colunas.data), layout.formatoData).isValid();
}

Reconhecimento porLayout(const QStringList &linhas)
{
    for (int n = 0; n < qMin(linhas.size(), linhasDePreambulo); ++n) {
        for (const LayoutExtrato &layout : layoutsDosBancos()) {
            if (!layout.semCabecalho && ehCabecalho(linhas.at(n), layout))
                return {TipoDeExtrato::Banco, &layout, n, {}, {}};
        }
    }
    for (const LayoutExtrato &layout : layoutsDosBancos()) {
        const auto daLargura = [&](const QString &linha) {
            return linha.trimmed().isEmpty() || camposDaLinha(linha, layout.separador, Aspas::Protegem).size() == layout.cabecalho.size();
        };
        if (layout.semCabecalho && ehLinhaDoLayout(linhas.first(), layout)
            && std::all_of(linhas.cbegin(), linhas.cend(), daLargura))
            return {TipoDeExtrato::Banco, &layout, -1, {}, {}};
    }
    for (int n = 0; n < qMin(linhas.size(), linhasDePreambulo); ++n) {
        for (QChar separador : {QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')}) {
            if (ehCabecalhoDesconhecido(linhas, n, separador))
                return {TipoDeExtrato::Mapeavel, nullptr, n, separador, {}};
        }
    }
    return {TipoDeExtrato::Recusado, nullptr, -1, {}, {}};
}

bool temLinhaPropria(const QStringList &linhas)
{
    return std::any_of(linhas.cbegin(), linhas.cend(), ehLinhaPropria);
}

} // namespace

Reconhecimento reconheceExtrato(const QByteArray &inicio, bool completo)
{
    for (const auto &assinatura : assinaturasRecusadas()) {
        if (inicio.startsWith(assinatura.first))
            return {TipoDeExtrato::Recusado, nullptr, -1, {},
                    QStringLiteral("O arquivo é %1, não um extrato em texto. ").arg(assinatura.second) + esperado()};
    }
    // Whole lines only, so that a character is never cut in two.
    const QByteArray linhasInteiras = completo ? inicio : inicio.left(inicio.lastIndexOf('\n') + 1);
    const QString texto = textoDoExtrato(linhasInteiras);
    const QStringList linhas = linhasDoExtrato(texto);
    // An OFX may be written on one line, longer than what is read here.
    if (linhas.isEmpty() && pareceOfx(textoDoExtrato(inicio)))
        return {TipoDeExtrato::Ofx, nullptr, -1, {}, {}};
    if (linhas.isEmpty() || ehLinhaPropria(linhas.first()))
        return {};
    if (pareceOfx(texto))
        return {TipoDeExtrato::Ofx, nullptr, -1, {}, {}};
    const Reconhecimento reconhecido = porLayout(linhas);
    if (reconhecido.tipo != TipoDeExtrato::Recusado)
        return reconhecido;
    // What our own layout always did with such files: red rows, read whole.
    if (completo || temLinhaPropria(linhas))
        return {};
    return {TipoDeExtrato::Recusado, nullptr, -1, {},
            QStringLiteral("O layout deste arquivo não foi reconhecido. ") + esperado()};
}

LeituraExtrato leExtrato(const QByteArray &arquivo, const Reconhecimento &reconhecimento, const LayoutExtrato *mapeado)
{
    const QString texto = textoDoExtrato(arquivo);
    if (reconhecimento.tipo == TipoDeExtrato::Ofx)
        return leOfx(texto);
    return leCsvDoBanco(linhasDoExtrato(texto), reconhecimento.cabecalho, mapeado ? *mapeado : *reconhecimento.layout);
}
