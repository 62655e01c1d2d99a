#ifndef JANELACOMPROMISSOS_H
#define JANELACOMPROMISSOS_H

#include "instalments/compromissos.h"

#include <QDialog>

class QModelIndex;

namespace Ui {
class JanelaCompromissos;
}

// For each of the months ahead, what the purchases paid in instalments
// already commit, per category; a double-click on a sum lists the purchases
// behind it.
class JanelaCompromissos final : public QDialog
{
    Q_OBJECT

public:
    explicit JanelaCompromissos(QWidget *parent = nullptr);
    ~JanelaCompromissos() override;

private slots:
    void on_tableWidget_compromissos_doubleClicked(const QModelIndex &index);

private:
    void mostra();

    Ui::JanelaCompromissos *ui;
    QVector<Compra> compras;
    Compromissos futuros;
    QVector<int> categorias; // in the grid's rows
};

#endif // JANELACOMPROMISSOS_H
