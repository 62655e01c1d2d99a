#ifndef DIVISAODEGASTO_H
#define DIVISAODEGASTO_H

#include "database/resultado.h"
#include "register/gasto.h"

#include <QDialog>
#include <QPair>
#include <QVector>

namespace Ui {
class DivisaoDeGasto;
}

// One expense split into parts, each with its category and amount, the
// parts adding up to the expense to the cent.
class DivisaoDeGasto final : public QDialog
{
    Q_OBJECT

public:
    // Runs the dialog modally over pai on the expense idGasto; whether it was split.
    static bool dividir(int idGasto, QWidget *pai);

    explicit DivisaoDeGasto(QWidget *parent = nullptr);
    ~DivisaoDeGasto() override;

public slots:
    void accept() override;

private slots:
    void on_pushButton_maisUma_clicked();
    void on_pushButton_remover_clicked();
    void mostraSoma();

private:
    Resultado<> preencher(int idGasto);
    void acrescentaParte(const QString &valor, int idCategoria);
    // The sum of the amounts that read.
    qint64 distribuido() const;

    Ui::DivisaoDeGasto *ui;
    Gasto gasto;
    QVector<QPair<int, QString>> categorias;
};

#endif // DIVISAODEGASTO_H
