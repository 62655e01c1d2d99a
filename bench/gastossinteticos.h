#ifndef GASTOSSINTETICOS_H
#define GASTOSSINTETICOS_H

#include <QDate>
#include <QStringList>

class QIODevice;

// The expenses the benchmark fills its database with, the same on every
// run for a given total and day: spread over the three years before today
// across twenty categories, a tenth without one, and two months of a fixed
// size, porMes():
// - the current month, which the classification dialog opens on, holds
//   exactly porMes expenses of every category;
// - the month before it holds porMes expenses of categoriaDetalhada()
//   besides the usual spread of the other categories.
// The first 2 * porMes rows are those two months, so any first slice of at
// least that many rows holds them whole.
class GastosSinteticos
{
public:
    GastosSinteticos(int total, const QDate &hoje);

    // The names of the categories, whose keys are 1, 2, ... in this order.
    static QStringList categorias();
    static int categoriaDetalhada() { return 1; }

    int total() const { return m_total; }
    int porMes() const { return m_porMes; }
    QDate mesListado() const { return m_mesListado; }
    QDate mesDetalhado() const { return m_mesDetalhado; }

    // Rows [de, ate) as tab-separated lines for LOAD DATA, in the columns
    // data, fornecedor, valor, descricao, idCategoria (\N for none).
    void escreve(QIODevice &destino, int de, int ate) const;

private:
    QDate dataDaLinha(int i) const;
    int categoriaDaLinha(int i, const QDate &data) const;

    int m_total;
    int m_porMes;
    QDate m_mesListado;
    QDate m_mesDetalhado;
    QDate m_inicio;
    int m_diasAntesDoMes; // from m_inicio to the first day of the current month
};

#endif // GASTOSSINTETICOS_H
