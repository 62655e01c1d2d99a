#ifndef CONTA_H
#define CONTA_H

#include <QString>
#include <QVector>

// What kind of account money is kept or spent from; the value is the one
// the conta table stores.
enum class TipoDeConta { Corrente = 0, Poupanca = 1, Cartao = 2, Dinheiro = 3 };

// One entry per kind: how the windows name it.
struct DescricaoDoTipo
{
    TipoDeConta tipo;
    QString nome;
};

const QVector<DescricaoDoTipo> &tiposDeConta();
const DescricaoDoTipo &descricaoDoTipo(TipoDeConta tipo);

// One of the household's accounts.
struct Conta
{
    int id = 0;
    QString nome;
    TipoDeConta tipo = TipoDeConta::Corrente;
    QString banco;
};

#endif // CONTA_H
