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
    const qint64 centavos = qRound64(valor * 100);
    return QLatin1String(centavos < 0 ? "-R$ " : "R$ ") + numeroBrasileiro(qAbs(centavos) / 100.0);
}

QString contagem(int n, const char *singular, const char *plural)
{
    return QString::fromUtf8(n == 1 ? singular : plural).arg(n);
}
