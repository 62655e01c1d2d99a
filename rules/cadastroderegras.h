#ifndef CADASTRODEREGRAS_H
#define CADASTRODEREGRAS_H

#include "rules/regra.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QVariant>
#include <QVector>

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
    // A rule looking into supplier and description for what the
    // classification's filter lists, wildcards and all. A rule with the same
    // pattern would win over a new one, so the first such rule is changed
    // instead (*alterou then true).
    static bool doFiltro(const QString &filtro, int idCategoria, bool *alterou);
    // Keeps the way the rule reads its pattern.
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
    // For rows about to be written, given as (supplier, description): the
    // category of the first rule each matches, null where none does. Reads
    // only, so an import can run it inside its transaction and write each
    // row with its category.
    static bool categoriasDasNovas(const QList<QPair<QString, QString>> &textos,
                                   QVector<QVariant> *categorias);

    // What a rule may point at: key and name, by name.
    static bool categorias(QList<QPair<int, QString>> *lista);
};

#endif // CADASTRODEREGRAS_H
