#include "import/valorbancario.h"

#include <QDate>
#include <QRegularExpression>

bool centavosDoValor(const QString &texto, NotacaoValor notacao, qint64 *centavos)
{
    QString limpo = texto;
    limpo.remove(QStringLiteral("R$"));
    limpo.remove(QRegularExpression(QStringLiteral("\\s")));
    const QChar milhar = notacao == NotacaoValor::VirgulaDecimal ? QLatin1Char('.') : QLatin1Char(',');
    limpo.remove(milhar);
    limpo.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression numero(QStringLiteral("^([+-]?)(\\d+)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = numero.match(limpo);
    const QString decimais = m.captured(3);
    if (!m.hasMatch() || decimais.midRef(2).count(QLatin1Char('0')) != decimais.midRef(2).size()
        || m.captured(2).size() > 15)
        return false;
    const qint64 inteiro = m.captured(2).toLongLong() * 100 + (decimais + QStringLiteral("00")).left(2).toInt();
    *centavos = m.captured(1) == QLatin1String("-") ? -inteiro : inteiro;
    return true;
}

QString valorNaGrade(qint64 centavos)
{
    const qint64 absoluto = qAbs(centavos);
    return QStringLiteral("%1%2,%3")
        .arg(centavos < 0 ? QStringLiteral("-") : QString())
        .arg(absoluto / 100)
        .arg(absoluto % 100, 2, 10, QLatin1Char('0'));
}

QString dataNaGrade(const QString &texto, const QString &formato)
{
    QDate data = QDate::fromString(texto.trimmed(), formato);
    if (!formato.contains(QLatin1String("yyyy")))
        data = data.addYears(100);
    return data.toString(QStringLiteral("dd/MM/yyyy"));
}
