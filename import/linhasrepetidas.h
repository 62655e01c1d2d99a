#ifndef LINHASREPETIDAS_H
#define LINHASREPETIDAS_H

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVariantList>

#include <functional>

class QTableWidget;

// The rows of an import's preview grid that gastos already holds, greyed
// with a tooltip saying when that expense came in. A row is repeated when
// an expense carries its bank transaction id, or else by occurrence of the
// same date, amount and supplier (compared as the server compares names):
// three such rows in the grid and two in gastos make two repeated rows.
// Marked again after every edit or removal; nothing is ever hidden.
class LinhasRepetidas : public QObject
{
    Q_OBJECT

public:
    // A row's date as the import converts it, "yyyy-MM-dd".
    using Data = std::function<QString(const QTableWidget *, int)>;
    // The fields a row would be written with, as the import converts them:
    // date, supplier, amount, ...
    using Registro = std::function<QStringList(const QTableWidget *, int)>;
    enum class Escolha { SoNovas, Todas, Voltar };

    // Every row's date is read; its other fields only when gastos has
    // expenses on its day.
    LinhasRepetidas(QTableWidget *tabela, Data data, Registro registro);

    // Asks the server now; false when the statement failed, all rows then
    // counting as new.
    bool marcar();
    bool repetida(int linha) const { return m_repetidas.contains(linha); }
    int quantas() const { return m_repetidas.size(); }

    // Before an import: all rows when none is repeated, otherwise what the
    // user chose in a box over pai.
    Escolha perguntar(QWidget *pai) const;

private:
    struct Lancamento;
    struct Achados;
    bool consultar(Achados *achados) const;
    static bool lerPeriodo(const QVariantList &valores, Achados *achados);
    void completar(Achados *achados) const;
    static bool pesar(Achados *achados);
    QHash<int, QString> porOcorrencia(const Achados &achados) const;
    void mostrar(const QHash<int, QString> &avisos);

    QTableWidget *m_tabela;
    Data m_data;
    Registro m_registro;
    QSet<int> m_repetidas;
    QTimer m_adiamento;
};

#endif // LINHASREPETIDAS_H
