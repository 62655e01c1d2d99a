#ifndef PARCELA_H
#define PARCELA_H

#include <QString>

// One instalment of a card purchase paid in parts (parcelado): number and
// count. A count of 0 or 1 ("1/1", "Única") is an ordinary purchase.
struct Parcela
{
    int numero = 0;
    int total = 0;
    bool ehParcela() const { return total >= 2 && numero >= 1 && numero <= total; }
};

// How a file may write the instalment in a row's text.
enum FormaDeParcela {
    ParcelaPorExtenso = 1, // "LOJA X - Parcela 3/10", "LOJA X PARCELA 03 DE 10"
    ParcelaEmNumeros = 2,  // "LOJA X 03/10", "PARC 03/10 LOJA X"
};

// The instalment a text names in one of the forms given (an OR of
// FormaDeParcela), and the text without it in *semParcela: the supplier is
// the shop, whatever instalment is paid.
Parcela parcelaNoTexto(const QString &texto, int formas, QString *semParcela);

// The instalment a column of its own names: "3/10", "Parcela 2/5"; "Única"
// and "Compra à vista" name none.
Parcela parcelaNaColuna(const QString &texto);

#endif // PARCELA_H
