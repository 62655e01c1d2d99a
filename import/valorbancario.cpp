#include "import/valorbancario.h"

#include <QDate>

// By hand, one pass: amounts are read once per row, and a regular
// expression here cost more than the rest of the row. A thousands mark is
// one only in a valid grouping (a first group of one to three digits, not
// starting with zero, then groups of exactly three): anything else, such as
// "12.50" in a layout with a decimal comma, is no amount, never one a
// hundred times larger.
bool centavosDoValor(const QString &texto, NotacaoValor notacao, qint64 *centavos)
{
    const QChar decimal = notacao == NotacaoValor::VirgulaDecimal ? QLatin1Char(',') : QLatin1Char('.');
    const QChar milhar = notacao == NotacaoValor::VirgulaDecimal ? QLatin1Char('.') : QLatin1Char(',');
    bool negativo = false, comSinal = false, zeroAEsquerda = false;
    int digitos = 0, casas = -1, grupo = -1; // grupo: digits since the last thousands mark
    qint64 inteiro = 0, fracao = 0;
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        const bool inicio = !comSinal && digitos == 0 && casas < 0;
        if (c.isSpace())
            continue;
        if (c == milhar) {
            const bool primeiro = grupo < 0 && digitos >= 1 && digitos <= 3 && !zeroAEsquerda;
            if (casas >= 0 || !(primeiro || grupo == 3))
                return false;
            grupo = 0;
            continue;
        }
        if (c == QLatin1Char('R') && texto.midRef(i + 1).startsWith(QLatin1Char('$'))) {
            ++i; // "R$"
            continue;
        }
        if (inicio && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            comSinal = true;
            negativo = c == QLatin1Char('-');
        } else if (c == decimal && casas < 0) {
            if (grupo >= 0 && grupo != 3)
                return false;
            casas = 0;
        } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        } else if (casas < 0) {
            if (++digitos > 15)
                return false;
            zeroAEsquerda = zeroAEsquerda || (digitos == 1 && c == QLatin1Char('0'));
            grupo += grupo >= 0;
            inteiro = inteiro * 10 + c.digitValue();
        } else if (++casas <= 2) {
            fracao = fracao * 10 + c.digitValue();
        } else if (c != QLatin1Char('0')) {
            return false; // digits past the cents
        }
    }
    if (digitos == 0 || (casas < 0 && grupo >= 0 && grupo != 3))
        return false;
    if (casas == 1)
        fracao *= 10;
    *centavos = (negativo ? -1 : 1) * (inteiro * 100 + fracao);
    return true;
}

QString valorNaGrade(qint64 centavos)
{
    const qint64 absoluto = qAbs(centavos);
    const int resto = int(absoluto % 100);
    return (centavos < 0 ? QStringLiteral("-") : QString()) + QString::number(absoluto / 100) + QLatin1Char(',')
           + QLatin1Char(char('0' + resto / 10)) + QLatin1Char(char('0' + resto % 10));
}

// Qt's date parser costs more than the rest of a row's reading, so the
// fixed-width patterns banks use are read by hand: each d, M or y of the
// pattern is one digit, anything else must stand as written.
QString dataNaGrade(const QString &texto, const QString &formato)
{
    const QString data = texto.trimmed();
    if (data.size() != formato.size())
        return QString();
    int dia = 0, mes = 0, ano = 0;
    for (int i = 0; i < formato.size(); ++i) {
        const QChar f = formato.at(i), c = data.at(i);
        const bool campo = f == QLatin1Char('d') || f == QLatin1Char('M') || f == QLatin1Char('y');
        if (campo != (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (!campo && c != f))
            return QString();
        int &parte = f == QLatin1Char('d') ? dia : f == QLatin1Char('M') ? mes : ano;
        if (campo)
            parte = parte * 10 + c.digitValue();
    }
    if (!formato.contains(QLatin1String("yyyy")))
        ano += 2000;
    if (!QDate(ano, mes, dia).isValid())
        return QString();
    const ushort escrita[10] = {ushort('0' + dia / 10), ushort('0' + dia % 10), '/', ushort('0' + mes / 10),
                                ushort('0' + mes % 10), '/', ushort('0' + ano / 1000), ushort('0' + ano / 100 % 10),
                                ushort('0' + ano / 10 % 10), ushort('0' + ano % 10)};
    return QString::fromUtf16(escrita, 10);
}
