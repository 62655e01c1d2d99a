#ifndef JANELACONTAS_H
#define JANELACONTAS_H

#include "accounts/conta.h"

#include <QDialog>

namespace Ui {
class JanelaContas;
}

// The household's accounts: add, rename, and delete one that nothing refers to.
class JanelaContas final : public QDialog
{
    Q_OBJECT

public:
    explicit JanelaContas(QWidget *parent = nullptr);
    ~JanelaContas() override;

private slots:
    void on_pushButton_nova_clicked();
    void on_pushButton_renomear_clicked();
    void on_pushButton_apagar_clicked();

private:
    void listar(int idSelecionada = 0);
    // The selected account, or nothing after telling the user to select one.
    const Conta *selecionada();

    Ui::JanelaContas *ui;
    QVector<Conta> contas;
};

#endif // JANELACONTAS_H
