// libFuzzer target: any bytes as a statement file, through every pure step
// between the file and the INSERT, and through the OFX and bank CSV readers. Besides crashes and sanitizer reports it
// checks properties that must hold for every input; a broken one aborts with
// its name, and libFuzzer keeps the input.

#include "import/conversaoextrato.h"
#include "import/layoutextrato.h"
#include "import/leitorcsvbanco.h"
#include "import/leitorofx.h"
#include "import/reconhecimentoextrato.h"

#include <QByteArray>
#include <QDate>
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

// The lines are the text without CR, cut at LF: nothing lost, nothing added.
void verificaLinhas(const QString &texto, const QStringList &linhas)
{
    QString semRetorno = texto;
    semRetorno.remove(QLatin1Char('\r'));
    if (semRetorno.endsWith(QLatin1Char('\n')))
        semRetorno.chop(1);
    exige(linhas.join(QLatin1Char('\n')) == semRetorno, "linhas recompõem o texto");
}

void verificaCampos(const QString &linha, const QStringList &campos)
{
    exige(campos.size() == linha.count(QLatin1Char(';')) + 1, "um campo por ';' mais um");
    for (const QString &campo : campos)
        exige(!campo.contains(QLatin1Char('"')) && !campo.contains(QLatin1Char(';')), "campo sem aspas nem ';'");
}

// The hand-written fast path must agree with Qt's parser on every text.
void verificaData(const QString &texto)
{
    const QString convertida = dataParaBanco(texto);
    const QString doQt = QDate::fromString(texto, QStringLiteral("dd/MM/yyyy")).toString(QStringLiteral("yyyy-MM-dd"));
    exige(convertida == doQt && convertida.isNull() == doQt.isNull(), "data igual à do parser do Qt");
}

// What goes to the server as a number never carries more than two decimals
// or an exponent: the server would round the rest away without a word.
void verificaValor(const QString &texto)
{
    const QString convertido = valorParaBanco(texto);
    for (QChar c : convertido)
        exige(c != QLatin1Char('R') && c != QLatin1Char('$') && !c.isSpace(), "valor sem R, $ nem espaço");
    bool numero = false;
    convertido.toDouble(&numero);
    const int ponto = convertido.indexOf(QLatin1Char('.'));
    if (numero) {
        exige(!convertido.contains(QLatin1Char('e'), Qt::CaseInsensitive), "sem expoente");
        exige(ponto < 0 || convertido.size() - ponto - 1 <= 2, "no máximo dois decimais");
    }
}

// An amount in cents written the Brazilian way, with or without "R$", sign
// and thousands points, converts back to the same number.
void verificaIdaEVolta(const uint8_t *dados, size_t tamanho)
{
    if (tamanho < 9)
        return;
    int64_t centavos = 0;
    for (int i = 0; i < 6; ++i)
        centavos = centavos * 256 + dados[i];
    const uint8_t forma = dados[8];
    const bool negativo = forma & 1, comMoeda = forma & 2, comMilhar = forma & 4;
    QString inteiro = QString::number(centavos / 100);
    if (comMilhar) {
        for (int i = inteiro.size() - 3; i > 0; i -= 3)
            inteiro.insert(i, QLatin1Char('.'));
    }
    const QString decimais = QStringLiteral("%1").arg(centavos % 100, 2, 10, QLatin1Char('0'));
    const QString escrito = QLatin1String(negativo ? "-" : "") + QLatin1String(comMoeda ? "R$ " : "")
                            + inteiro + QLatin1Char(',') + decimais;
    const QString esperado = QLatin1String(negativo ? "-" : "") + QString::number(centavos / 100)
                             + QLatin1Char('.') + decimais;
    exige(valorParaBanco(escrito) == esperado, "valor brasileiro ida e volta");
}

// A bank reader's error comes alone, and every row it reads has a real date
// and an amount the import turns into a number.
void verificaLeitura(const LeituraExtrato &leitura)
{
    exige(leitura.erro.isEmpty() || leitura.lancamentos.isEmpty(), "erro sem linhas lidas");
    for (const LancamentoExtrato &lancamento : leitura.lancamentos) {
        exige(!dataParaBanco(lancamento.data).isNull(), "data lida é válida");
        bool numero = false;
        valorParaBanco(lancamento.valor).toDouble(&numero);
        exige(numero, "valor lido é um número");
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
        const QStringList campos = camposDaLinha(linha);
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
