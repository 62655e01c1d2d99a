#ifndef EMREAIS_H
#define EMREAIS_H

#include <QString>

// An amount in Brazilian notation: "1.446,90".
QString numeroBrasileiro(double valor);

// The same with the currency: "R$ 1.446,90".
QString emReais(double valor);

#endif // EMREAIS_H
