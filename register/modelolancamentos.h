#ifndef MODELOLANCAMENTOS_H
#define MODELOLANCAMENTOS_H

#include "database/resultado.h"
#include "register/filtrolancamentos.h"
#include "register/linhalancamento.h"

#include <QAbstractTableModel>
#include <QVector>

// The expenses a filter lists, read a page at a time as the view scrolls to
// them, so that a history of any size opens as fast as its first screenful;
// a click on a column's header lists them again in that column's order,
// sorted by the server.
class ModeloLancamentos final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ModeloLancamentos(QObject *parent = nullptr);
    ~ModeloLancamentos() override;

    // The first page under filtro; on failure the model stays as it was.
    Resultado<> listar(const FiltroLancamentos &filtro);
    const FiltroLancamentos &filtro() const { return m_filtro; }
    const LinhaLancamento &linha(int linha) const { return m_linhas.at(linha); }
    // The row of an expense among those read so far, or -1.
    int linhaDoGasto(int idGasto) const;
    // Reads one row's expense again where it stands, after it was changed.
    Resultado<> atualizar(int linha);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    // A page or a sort the view asked for could not be read.
    void falhou(const Motivo &motivo);

private:
    FiltroLancamentos m_filtro;
    QVector<LinhaLancamento> m_linhas;
    bool m_haMais = false;
};

#endif // MODELOLANCAMENTOS_H
