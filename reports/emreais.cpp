#include "reports/emreais.h"

#include <QLocale>

QString numeroBrasileiro(double valor)
{
    // Brazil's notation whatever the machine's locale is.
    static const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    return brasil.toString(valor, 'f', 2);
}

QString emReais(double valor)
{
    return QStringLiteral("R$ ") + numeroBrasileiro(valor);
}
