// libFuzzer target: any bytes as a statement file, through every pure step
// between the file and the preview grid: decoding, lines, fields, dates,
// amounts, recognition and every reader. Besides crashes and sanitizer
// reports it checks properties that must hold for every input; a broken one
// aborts with its name, and libFuzzer keeps the input.

#include "statements/data.h"
#include "statements/layoutextrato.h"
#include "statements/leitorcsvbanco.h"
#include "statements/leitorofx.h"
#include "statements/leitorproprio.h"
#include "statements/reconhecimentoextrato.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void exige(bool valeu, const char *propriedade)
{
    if (valeu)
        return;
    std::fprintf(stderr, "propriedade violada: %s\n", propriedade);
    std::abort();
}

// Without a byte-order mark, valid UTF-8 is taken as it is.
void verificaTexto(const QByteArray &bytes, const QString &texto)
{
    const bool temBom = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE")
                        || bytes.startsWith("\xFE\xFF") || bytes.startsWith(QByteArray("\0\0\xFE\xFF", 4));
    if (!temBom && QString::fromUtf8(bytes).toUtf8() == bytes)
        exige(texto == QString::fromUtf8(bytes), "UTF-8 sem BOM lido como UTF-8");
}

// The lines are the text cut at its line ends: nothing lost, nothing added.
void verificaLinhas(const QString &texto, const QStringList &linhas)
{
    QString cortado = texto;
    cortado.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (cortado.endsWith(QLatin1Char('\n')))
        cortado.chop(1);
    exige(linhas.join(QLatin1Char('\n')) == cortado, "linhas recompõem o texto");
}

void verificaCampos(const QString &linha, const QStringList &campos)
{
    exige(campos.size() == linha.count(QLatin1Char(';')) + 1, "um campo por ';' mais um");
    for (const QString &campo : campos)
        exige(!campo.contains(QLatin1Char('"')) && !campo.contains(QLatin1Char(';')), "campo sem aspas nem ';'");
}

// The hand-written reader agrees with Qt's parser on every text, within the years kept.
void verificaData(const QString &texto)
{
    const QDate lida = leData(texto, QStringLiteral("dd/MM/yyyy"));
    const QDate doQt = QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
    exige(lida == (doQt.year() >= primeiroAno && doQt.year() <= ultimoAno ? doQt : QDate()),
          "data igual à do parser do Qt");
}

// An amount read once reads the same from the grid's text.
void verificaValor(const QString &texto)
{
    for (const NotacaoValor notacao : {NotacaoValor::Brasileira, NotacaoValor::VirgulaDecimal, NotacaoValor::PontoDecimal}) {
        const std::optional<qint64> lido = leCentavos(texto, notacao);
        if (lido) {
            exige(qAbs(*lido) <= maiorValorEmCentavos, "valor cabe em gastos");
            exige(leCentavos(valorNaGrade(*lido), NotacaoValor::Brasileira) == lido, "valor da grade ida e volta");
        }
    }
}

// An amount in cents written the Brazilian way, with or without "R$", sign
// and thousands points, reads back to the same number.
void verificaIdaEVolta(const uint8_t *dados, size_t tamanho)
{
    if (tamanho < 9)
        return;
    int64_t centavos = 0;
    for (int i = 0; i < 5; ++i)
        centavos = centavos * 256 + dados[i];
    const uint8_t forma = dados[8];
    const bool negativo = forma & 1, comMoeda = forma & 2, comMilhar = forma & 4;
    QString inteiro = QString::number(centavos / 100);
    if (comMilhar) {
        for (int i = inteiro.size() - 3; i > 0; i -= 3)
            inteiro.insert(i, QLatin1Char('.'));
    }
    const QString escrito = QLatin1String(negativo ? "-" : "") + QLatin1String(comMoeda ? "R$ " : "") + inteiro
                            + QLatin1Char(',') + QStringLiteral("%1").arg(centavos % 100, 2, 10, QLatin1Char('0'));
    exige(leCentavos(escrito, NotacaoValor::Brasileira) == (negativo ? -centavos : centavos),
          "valor brasileiro ida e volta");
}

// A reader's error comes alone, and every row it reads that is stored has a
// real date and texts that its table holds.
void verificaLeitura(const LeituraExtrato &leitura)
{
    exige(leitura.erro.isEmpty() || leitura.linhas.isEmpty(), "erro sem linhas lidas");
    for (const LinhaExtrato &linha : leitura.linhas) {
        exige(linha.fornecedor.size() <= 255, "fornecedor cabe em gastos");
        if (linha.natureza != Natureza::NaoLancamento)
            exige(linha.data.isValid() && linha.descricao.size() <= 1000, "lançamento com data e descrição que cabe");
    }
}

void verificaLeitores(const QByteArray &bytes, const QString &texto, const QStringList &linhas)
{
    const Reconhecimento reconhecido = reconheceExtrato(bytes.left(inicioQueDecide), bytes.size() <= inicioQueDecide);
    if (reconhecido.tipo == TipoDeExtrato::Ofx || reconhecido.tipo == TipoDeExtrato::Banco)
        verificaLeitura(leExtrato(bytes, reconhecido));
    verificaLeitura(leOfx(texto));
    for (const LayoutExtrato &layout : layoutsDosBancos())
        verificaLeitura(leCsvDoBanco(linhas, -1, layout));
    const LeituraPropria propria = leLayoutProprio(linhas);
    exige(propria.erro.isEmpty() == (propria.primeiraMalformada < 0 && linhaLongaDemais(linhas) < 0),
          "nosso layout diz por que não leu");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dados, size_t tamanho)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(dados), int(tamanho));
    const QString texto = textoDoExtrato(bytes);
    verificaTexto(bytes, texto);
    const QStringList linhas = linhasDoExtrato(texto);
    verificaLinhas(texto, linhas);
    for (const QString &linha : linhas) {
        const QStringList campos = camposDaLinha(linha, QLatin1Char(';'), Aspas::Removidas);
        verificaCampos(linha, campos);
        for (const QString &campo : campos) {
            verificaData(campo);
            verificaValor(campo);
        }
    }
    verificaIdaEVolta(dados, tamanho);
    verificaLeitores(bytes, texto, linhas);
    return 0;
}
