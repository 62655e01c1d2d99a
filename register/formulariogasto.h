#ifndef FORMULARIOGASTO_H
#define FORMULARIOGASTO_H

#include "database/resultado.h"
#include "register/gasto.h"

#include <QDialog>

namespace Ui {
class FormularioGasto;
}

// One expense's date, supplier, description, amount, category and account,
// checked by the readers of an import's preview and saved in one statement;
// a refused field keeps the form open with what was typed.
class FormularioGasto final : public QDialog
{
    Q_OBJECT

public:
    // Runs the form modally over pai on the expense idGasto, or on a new one
    // (0) in the cash account. The key of the expense saved; 0 when nothing was.
    static int abrir(int idGasto, QWidget *pai);

    explicit FormularioGasto(QWidget *parent = nullptr);
    ~FormularioGasto() override;

public slots:
    void accept() override;

private:
    Resultado<> preencher(int idGasto);
    void recusa(QWidget *campo, const Motivo &motivo);

    Ui::FormularioGasto *ui;
    Gasto gasto; // as read, then as saved
};

#endif // FORMULARIOGASTO_H
