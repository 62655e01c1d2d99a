#ifndef RELATORIOS_H
#define RELATORIOS_H

#include <QDate>
#include <QDialog>
#include <QSqlQuery>

class QModelIndex;

namespace Ui {
class Relatorios;
}

// Spending per category in the current month and each of the twelve before
// it; a double-click on a sum opens the expenses behind it.
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

    Ui::Relatorios *ui;
    QSqlQuery consulta;
    // The month labels and the month a double-click opens are both reckoned
    // from this one date, so they cannot drift apart while the dialog is open.
    const QDate hoje;
};

#endif // RELATORIOS_H
