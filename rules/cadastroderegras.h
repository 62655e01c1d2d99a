#ifndef CADASTRODEREGRAS_H
#define CADASTRODEREGRAS_H

#include "rules/regra.h"

#include <QHash>
#include <QList>
#include <QPair>

// The one place of the regra table's SQL: listing, editing and ordering the
// rules, and applying them to expenses without category, on the default
// connection. A rule only ever fills an empty category, and only while its
// own category exists. A failure is logged with the server's reason and
// returned as false.
class CadastroDeRegras
{
public:
    // In the order they apply.
    static bool listar(QList<Regra> *regras);
    // At the end of the list; the pattern without surrounding blanks.
    static bool inserir(const Regra &regra);
    static bool alterar(const Regra &regra);
    static bool apagar(int idRegra);
    // Puts the rules in the order of the keys given, in one transaction.
    static bool reordenar(const QList<int> &idsNaOrdem);

    // How many expenses without category each rule would classify, the
    // first match winning; a rule that would classify none is absent.
    static bool contar(QHash<int, int> *porRegra);
    // Every rule in order over the expenses without category, in a
    // transaction of its own.
    static bool aplicar(int *classificadas);
    // Every rule in order over the given expenses only, inside the caller's
    // transaction: an import's new rows.
    static bool aplicarAsNovas(const QList<int> &idsGastos, int *classificadas);

    // What a rule may point at: key and name, by name.
    static bool categorias(QList<QPair<int, QString>> *lista);
};

#endif // CADASTRODEREGRAS_H
