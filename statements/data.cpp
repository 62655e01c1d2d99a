#include "statements/data.h"

// Qt's date parser costs more than the rest of a row's reading, so the
// fixed-width patterns are read by hand.
QDate leData(const QString &texto, const QString &formato)
{
    if (texto.size() != formato.size())
        return QDate();
    int dia = 0, mes = 0, ano = 0, digitosDoAno = 0;
    for (int i = 0; i < formato.size(); ++i) {
        const QChar f = formato.at(i), c = texto.at(i);
        const bool campo = f == QLatin1Char('d') || f == QLatin1Char('M') || f == QLatin1Char('y');
        if (campo != (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (!campo && c != f))
            return QDate();
        int &parte = f == QLatin1Char('d') ? dia : f == QLatin1Char('M') ? mes : ano;
        if (campo)
            parte = parte * 10 + c.digitValue();
        digitosDoAno += f == QLatin1Char('y');
    }
    if (digitosDoAno == 2)
        ano += ano < 70 ? 2000 : 1900;
    if (ano < primeiroAno || ano > ultimoAno)
        return QDate();
    return QDate(ano, mes, dia);
}

QString dataNaGrade(const QDate &data)
{
    const int dia = data.day(), mes = data.month(), ano = data.year();
    const ushort escrita[10] = {ushort('0' + dia / 10), ushort('0' + dia % 10), '/', ushort('0' + mes / 10),
                                ushort('0' + mes % 10), '/', ushort('0' + ano / 1000), ushort('0' + ano / 100 % 10),
                                ushort('0' + ano / 10 % 10), ushort('0' + ano % 10)};
    return QString::fromUtf16(escrita, 10);
}
