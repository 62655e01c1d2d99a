#ifndef DATA_H
#define DATA_H

#include <QDate>
#include <QString>

// The years a statement's date may fall in: anything else is a typo no
// window could list.
const int primeiroAno = 1900;
const int ultimoAno = 2100;

// A date written in a fixed-width pattern ("dd/MM/yyyy", "yyyyMMdd",
// "dd/MM/yy"...): each d, M or y of the pattern is one digit, anything else
// must stand as written. A two-digit year is 19xx from 70 on and 20xx
// below, as the server reads one. Invalid when the text is no such date or
// its year is outside primeiroAno..ultimoAno.
QDate leData(const QString &texto, const QString &formato);

// A date as the preview grid and every new window show it: "dd/MM/yyyy".
QString dataNaGrade(const QDate &data);

#endif // DATA_H
