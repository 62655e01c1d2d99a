#include "statements/parcela.h"

#include <QRegularExpression>
#include <QVector>

namespace {

struct Notacao
{
    FormaDeParcela forma;
    QRegularExpression padrao; // groups "n" and "N"; the rest of the text is the shop
};

const QVector<Notacao> &notacoes()
{
    const auto padrao = [](const char *texto) {
        return QRegularExpression(QString::fromUtf8(texto), QRegularExpression::CaseInsensitiveOption);
    };
    static const QVector<Notacao> todas {
        {ParcelaPorExtenso, padrao("\\s*-?\\s*\\bparcela\\s+(?<n>\\d{1,2})\\s*(/|de)\\s*(?<N>\\d{1,2})\\s*$")},
        {ParcelaEmNumeros, padrao("^\\s*parc\\.?\\s+(?<n>\\d{1,2})\\s*/\\s*(?<N>\\d{1,2})\\s+")},
        {ParcelaEmNumeros, padrao("\\s+(?<n>\\d{1,2})/(?<N>\\d{1,2})\\s*$")},
    };
    return todas;
}

Parcela parcelaDe(const QRegularExpressionMatch &achado)
{
    return {achado.captured(QStringLiteral("n")).toInt(), achado.captured(QStringLiteral("N")).toInt()};
}

} // namespace

Parcela parcelaNoTexto(const QString &texto, int formas, QString *semParcela)
{
    *semParcela = texto;
    // Most texts have no digit after a slash or the word: no expression for them.
    if (!formas || (!texto.contains(QLatin1Char('/')) && !texto.contains(QLatin1String("parc"), Qt::CaseInsensitive)))
        return {};
    for (const Notacao &notacao : notacoes()) {
        if (!(formas & notacao.forma))
            continue;
        const QRegularExpressionMatch achado = notacao.padrao.match(texto);
        const Parcela parcela = parcelaDe(achado);
        if (achado.hasMatch() && parcela.numero >= 1 && parcela.numero <= parcela.total) {
            *semParcela = QString(texto).remove(achado.capturedStart(), achado.capturedLength()).trimmed();
            return parcela;
        }
    }
    return {};
}

Parcela parcelaNaColuna(const QString &texto)
{
    static const QRegularExpression numeros(QStringLiteral("^(?<n>\\d{1,2})\\s*/\\s*(?<N>\\d{1,2})$"));
    QString resto;
    const QRegularExpressionMatch achado = numeros.match(texto.trimmed());
    return achado.hasMatch() ? parcelaDe(achado) : parcelaNoTexto(texto, ParcelaPorExtenso, &resto);
}
