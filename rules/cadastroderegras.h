#ifndef CADASTRODEREGRAS_H
#define CADASTRODEREGRAS_H

#include "database/resultado.h"
#include "rules/regra.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QVariant>
#include <QVector>

// The one place of the regra table's SQL: listing, editing and ordering the
// rules, and applying them to expenses without category, on the default
// connection. A rule only ever fills an empty category, and only while its
// own category exists. A failure comes back as its reason for the user.
namespace CadastroDeRegras {

// In the order they apply.
Resultado<QList<Regra>> listar();
// At the end of the list; the pattern without surrounding blanks, each of
// its characters standing for itself.
Resultado<> inserir(const Regra &regra);
// Keeps the way the rule reads its pattern.
Resultado<> alterar(const Regra &regra);
Resultado<> apagar(int idRegra);
// Puts the rules in the order of the keys given, in one transaction.
Resultado<> reordenar(const QList<int> &idsNaOrdem);
// A rule looking into supplier and description for what the
// classification's filter lists, wildcards and all. A rule with the same
// pattern would win over a new one, so the first such rule is changed
// instead: the value says whether one was.
Resultado<bool> criarDoFiltro(const QString &filtro, int idCategoria);

// How many expenses without category each rule would classify, the first
// match winning; a rule that would classify none is absent.
Resultado<QHash<int, int>> contar();
// Every rule in order over the expenses without category, in a transaction
// of its own; the value is how many expenses were classified.
Resultado<int> aplicar();
// For rows about to be written, given as (supplier, description): the
// category of the first rule each matches, null where none does. Reads only,
// so an import can run it inside its transaction and write each row with
// its category.
Resultado<QVector<QVariant>> categoriasDasNovas(const QList<QPair<QString, QString>> &textos);

// What a rule may point at: key and name, by name.
Resultado<QList<QPair<int, QString>>> categorias();

} // namespace CadastroDeRegras

#endif // CADASTRODEREGRAS_H
