#ifndef LINHASREPETIDAS_H
#define LINHASREPETIDAS_H

#include "database/resultado.h"
#include "import/historicodeimportacoes.h"

#include <QObject>
#include <QSet>
#include <QVector>
#include <QTimer>

class QTableWidget;

// The rows of an import's preview grid that are already stored (as
// expenses, income or transfers, of the import's account or of none), or
// that an earlier file of the same preview already brought (the same file
// read twice, overlapping statements), greyed with a tooltip saying where
// they are. A row is repeated by the bank's id only when id, account, date and
// amount all match; otherwise by occurrence of the same date, amount,
// supplier and description (compared as the server compares texts): three
// such rows in a file and two in gastos make two repeated rows, and rows of
// one file never repeat each other (two tolls on one day are two).
// Marked again after every edit or removal; nothing is ever hidden.
class LinhasRepetidas final : public QObject
{
    Q_OBJECT

public:
    enum class Escolha { SoNovas, Todas, Voltar };

    explicit LinhasRepetidas(QTableWidget *tabela);
    ~LinhasRepetidas() override;

    // Asks the server now; on a failure all rows count as new.
    Resultado<> marcar();
    // The import's account (0: none, any account repeats; -1: one not made
    // yet, so only rows without account repeat), marking again on a change.
    void defineConta(int idConta);
    bool repetida(int linha) const { return m_repetidas.contains(linha); }
    int quantas() const { return m_repetidas.size(); }
    // The stored rows that the repeated rows stand for.
    const HistoricoDeImportacoes::Repetidas &guardadas() const { return m_guardadas; }

    // Before an import: only the new ones when none is repeated (there is
    // then nothing to choose), otherwise what the user chose in a box over pai.
    Escolha perguntar(QWidget *pai) const;

private:
    struct Achados;
    Resultado<> consultar(Achados *achados) const;

    QTableWidget *m_tabela;
    int m_idConta = 0;
    QSet<int> m_repetidas; // rows
    HistoricoDeImportacoes::Repetidas m_guardadas;
    QTimer m_adiamento;
};

#endif // LINHASREPETIDAS_H
