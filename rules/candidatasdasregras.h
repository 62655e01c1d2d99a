#ifndef CANDIDATASDASREGRAS_H
#define CANDIDATASDASREGRAS_H

#include "rules/regra.h"

#include <QList>
#include <QString>
#include <QVector>

// Narrows, on the client, which expenses each rule could match, so the
// server has to judge only those pairs instead of every rule against every
// row. It errs only towards matching: the server's collation decides, and a
// character folded here with less than certainty matches any other.
class CandidatasDasRegras
{
public:
    explicit CandidatasDasRegras(const QList<Regra> &regras);

    // Files the expense under every rule whose pattern its texts may contain.
    void acrescenta(int idGasto, const QString &fornecedor, const QString &descricao);

    // The expenses filed under the rule at that index of the list given.
    const QList<int> &daRegra(int indice) const { return m_ids.at(indice); }

private:
    struct Dobrado
    {
        QVector<char16_t> letras;
        quint64 mascara = 0;       // a bit per plain character present
        bool temQualquer = false;  // a character that may equal any other
    };
    static Dobrado dobra(const QString &texto);
    static void acrescentaLetra(Dobrado &dobrado, char16_t letra);
    static QVector<Dobrado> pedacos(const QString &padrao);
    static bool pode(const Dobrado &padrao, const Dobrado &texto);
    static bool podem(const QVector<Dobrado> &pedacos, const Dobrado &texto);

    QVector<QVector<Dobrado>> m_padroes; // the runs a text must hold, per rule
    QVector<DescricaoDoCampo> m_campos;
    QVector<QList<int>> m_ids;
};

#endif // CANDIDATASDASREGRAS_H
