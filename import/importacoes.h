#ifndef IMPORTACOES_H
#define IMPORTACOES_H

#include "database/resultado.h"

#include <QDialog>
#include <QMessageBox>

namespace Ui {
class Importacoes;
}

// The imports made so far, newest first, and the way to take one back:
// its expenses and its record go in one transaction, after the user has
// seen how many expenses that is.
class Importacoes final : public QDialog
{
    Q_OBJECT

public:
    explicit Importacoes(QWidget *parent = nullptr);
    ~Importacoes() override;

public slots:
    // Lists the imports; must run once before the dialog is shown.
    void setupData();

private slots:
    void on_pushButton_desfazer_clicked();

private:
    Resultado<> listar();
    QMessageBox::StandardButton confirmar(int linha, int idImportacao);

    Ui::Importacoes *ui;
};

#endif // IMPORTACOES_H
