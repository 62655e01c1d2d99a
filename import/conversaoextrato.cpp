#include "import/conversaoextrato.h"

#include <QByteArray>
#include <QDate>
#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>

namespace {

bool ehDigito(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int numero(const QString &texto, int inicio, int tamanho)
{
    int n = 0;
    for (int i = inicio; i < inicio + tamanho; ++i)
        n = n * 10 + texto.at(i).digitValue();
    return n;
}

bool temFormaCompleta(const QString &data)
{
    if (data.size() != 10 || data.at(2) != QLatin1Char('/') || data.at(5) != QLatin1Char('/'))
        return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
        if (!ehDigito(data.at(i)))
            return false;
    }
    return true;
}

bool ehDescartavelNoValor(QChar c)
{
    return c == QLatin1Char('R') || c == QLatin1Char('$') || c.isSpace();
}

// "12.50" or "-3.5": no comma, one point, and one or two digits after it
// that end the amount. Banks and spreadsheets write such amounts with a
// decimal point; reading the point as a thousands separator would store a
// hundred times the amount.
bool temPontoDecimal(const QString &valor)
{
    if (valor.contains(QLatin1Char(',')) || valor.count(QLatin1Char('.')) != 1)
        return false;
    const int casas = valor.size() - valor.indexOf(QLatin1Char('.')) - 1;
    if (casas < 1 || casas > 2)
        return false;
    for (int i = valor.size() - casas; i < valor.size(); ++i) {
        if (!ehDigito(valor.at(i)))
            return false;
    }
    return true;
}

// "1.234.567" and "-1.234": a first group of one to three digits that does
// not start with zero, then groups of exactly three. Any other point, as in
// "0.050" or "12.3456", is a typo or another notation, never thousands.
bool temMilharesValidos(const QString &inteiro)
{
    static const QRegularExpression agrupamento(QStringLiteral("^[^\\d.]*[1-9]\\d{0,2}(\\.\\d{3})+$"));
    return !inteiro.contains(QLatin1Char('.')) || agrupamento.match(inteiro).hasMatch();
}

// One comma at most, with no point after it, and points before it only in
// a valid grouping: "12,3.4" and "1.2,3" are not amounts.
bool temNotacaoBrasileira(const QString &valor)
{
    const int virgula = valor.indexOf(QLatin1Char(','));
    if (virgula >= 0 && (valor.indexOf(QLatin1Char(','), virgula + 1) >= 0 || valor.indexOf(QLatin1Char('.'), virgula) >= 0))
        return false;
    return temMilharesValidos(virgula < 0 ? valor : valor.left(virgula));
}

void limpaCampo(QString &campo)
{
    campo = std::move(campo).trimmed();
    campo.remove(QLatin1Char('"'));
}

// The server rounds an amount to two decimals without a word: "1,234.56",
// written the English way, would be stored as 1.23, and "1e-3" as 0.00.
bool seriaArredondado(const QString &valor)
{
    const int ponto = valor.indexOf(QLatin1Char('.'));
    return (ponto >= 0 && valor.size() - ponto - 1 > 2) || valor.contains(QLatin1Char('e'), Qt::CaseInsensitive);
}

} // namespace

QString textoDoExtrato(const QByteArray &bytes)
{
    if (QTextCodec *marcado = QTextCodec::codecForUtfText(bytes, nullptr))
        return marcado->toUnicode(bytes);
    QTextCodec::ConverterState estado;
    const QString utf8 = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &estado);
    if (estado.invalidChars == 0 && estado.remainingChars == 0)
        return utf8;
    return QTextCodec::codecForName("windows-1252")->toUnicode(bytes);
}

QStringList linhasDoExtrato(const QString &texto)
{
    QString semRetorno = texto;
    semRetorno.remove(QLatin1Char('\r'));
    QStringList linhas = semRetorno.split(QLatin1Char('\n'));
    if (linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

QStringList camposDaLinha(const QString &linha, int maximo)
{
    QStringList campos = linha.split(QLatin1Char(';'));
    if (maximo > 0 && campos.size() > maximo) {
        campos.erase(campos.begin() + maximo, campos.end());
        campos.last() = linha.section(QLatin1Char(';'), maximo - 1);
    }
    for (QString &campo : campos)
        limpaCampo(campo);
    return campos;
}

int linhaLongaDemais(const QStringList &linhas)
{
    // Only a line longer in UTF-16 units can be longer in characters, so the
    // surrogates are counted on those alone.
    const auto longa = [](const QString &linha) {
        return linha.size() > maximoDaLinha
               && linha.size() - std::count_if(linha.begin(), linha.end(), [](QChar c) { return c.isLowSurrogate(); })
                      > maximoDaLinha;
    };
    const auto primeira = std::find_if(linhas.begin(), linhas.end(), longa);
    return primeira == linhas.end() ? -1 : int(primeira - linhas.begin());
}

QString dataParaBanco(const QString &data)
{
    // Qt's date parser costs more than the insert the date goes into, so the
    // usual full form is checked by hand; anything else is left to the
    // parser, whose verdict stands.
    if (temFormaCompleta(data) && QDate(numero(data, 6, 4), numero(data, 3, 2), numero(data, 0, 2)).isValid()) {
        const QChar *d = data.constData();
        const QChar iso[] {d[6], d[7], d[8], d[9], QLatin1Char('-'), d[3], d[4], QLatin1Char('-'), d[0], d[1]};
        return QString(iso, 10);
    }
    return QDate::fromString(data, QStringLiteral("dd/MM/yyyy")).toString(QStringLiteral("yyyy-MM-dd"));
}

QString valorParaBanco(const QString &valor)
{
    QString limpo = valor;
    QChar *destino = limpo.data();
    for (QChar c : valor) {
        if (!ehDescartavelNoValor(c))
            *destino++ = c;
    }
    limpo.truncate(int(destino - limpo.constData()));
    if (!temPontoDecimal(limpo)) {
        if (!temNotacaoBrasileira(limpo))
            return QString();
        limpo.remove(QLatin1Char('.'));
        limpo.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    return seriaArredondado(limpo) ? QString() : limpo;
}
