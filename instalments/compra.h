#ifndef COMPRA_H
#define COMPRA_H

#include <QDate>
#include <QString>
#include <QVector>

// An instalment of a purchase, as imported.
struct ParcelaVista
{
    int numero = 0;
    QDate data;
    qint64 centavos = 0; // negative: a refund
};

// A card purchase paid in instalments, with the instalments imported so far.
struct Compra
{
    int id = 0;
    QString fornecedor;
    int parcelas = 0;
    QDate dataCompra; // where the file gave it
    QVector<ParcelaVista> vistas; // by number
    int idCategoria = 0; // of its latest classified instalment; 0: none
    QString categoria;
};

#endif // COMPRA_H
