#ifndef RELATORIOS_H
#define RELATORIOS_H

#include <QDate>
#include <QDialog>
#include <QSqlQuery>

class QModelIndex;
struct GastosDaCategoria;
struct OrcamentoDaCategoria;

namespace Ui {
class Relatorios;
}

// Spending per category in the current month and each of the twelve before
// it, against each category's monthly budget, as a grid and as a chart; a
// double-click on a sum, or a click on its segment, opens the expenses
// behind it.
class Relatorios : public QDialog
{
    Q_OBJECT

public:
    explicit Relatorios(QWidget *parent = nullptr);
    ~Relatorios() override;

public slots:
    bool relPrincipal();

private slots:
    void on_tableWidget_relatorio_doubleClicked(const QModelIndex &index);

private:
    void montaTabelaRelatorio();
    QVector<GastosDaCategoria> gastosDoResultado();
    qint64 acrescentaOrcamentos(const QVector<GastosDaCategoria> &categorias);
    QVector<qint64> mostraSaldo(const QVector<GastosDaCategoria> &categorias, const QStringList &rotulos);
    int linhaSemGastos(const OrcamentoDaCategoria &orcamento);
    void abreDetalhe(int id, const QString &nome, int mesesAtras);

    Ui::Relatorios *ui;
    QSqlQuery consulta;
    // The month labels and the month a double-click opens are both reckoned
    // from this one date, so they cannot drift apart while the dialog is open.
    const QDate hoje;
};

#endif // RELATORIOS_H
