#ifndef REGRA_H
#define REGRA_H

#include <QString>
#include <QVector>

// Which of an expense's texts a rule looks into.
enum class CampoDaRegra { Fornecedor, Descricao, Ambos };

// One entry per field: how the rules window names it and which texts it
// covers, as the regra table stores them.
struct DescricaoDoCampo
{
    CampoDaRegra campo;
    QString rotulo;
    bool noFornecedor;
    bool naDescricao;
};

const QVector<DescricaoDoCampo> &camposDeRegra();
const DescricaoDoCampo &descricaoDoCampo(CampoDaRegra campo);
CampoDaRegra campoDosTextos(bool noFornecedor, bool naDescricao);

// A classification rule: expenses without category whose field contains
// padrao (case and accents aside) get idCategoria.
struct Regra
{
    int id = 0;
    QString padrao;
    // Made from the classification's filter: padrao is read as LIKE reads
    // that filter, "%" and "_" as wildcards and "\" escaping the next
    // character; otherwise every character stands for itself.
    bool curingas = false;
    CampoDaRegra campo = CampoDaRegra::Ambos;
    int idCategoria = 0;
    QString categoria;             // the category's name, while it exists
    bool categoriaApagada = false; // such a rule never applies
};

#endif // REGRA_H
