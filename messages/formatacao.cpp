#include "messages/formatacao.h"

#include <QLocale>
#include <QtMath>

QString numeroBrasileiro(double valor)
{
    // Brazil's notation whatever the machine's locale is.
    static const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    return brasil.toString(valor, 'f', 2);
}

QString emReais(double valor)
{
    // Rounded to cents first, so that a sum that is zero to the cent never reads "-R$ 0,00".
    return centavosEmReais(qRound64(valor * 100));
}

QString centavosEmReais(qint64 centavos)
{
    // A non-breaking space, so that a line break never parts "R$" from its number.
    return QString::fromUtf8(centavos < 0 ? "-R$\u00A0" : "R$\u00A0") + numeroBrasileiro(qAbs(centavos) / 100.0);
}

QString contagem(int n, const char *singular, const char *plural)
{
    return QString::fromUtf8(n == 1 ? singular : plural).arg(n);
}
