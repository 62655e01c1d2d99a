#ifndef REGRAS_H
#define REGRAS_H

#include "database/resultado.h"
#include "rules/regra.h"

#include <QDialog>
#include <QList>

namespace Ui {
class Regras;
}

// The ordered list of classification rules: add, change, delete and move
// them, and apply them once to the expenses still without category.
class Regras final : public QDialog
{
    Q_OBJECT

public:
    explicit Regras(QWidget *parent = nullptr);
    ~Regras() override;

public slots:
    // Reads the rules and the categories; runs once before the dialog shows.
    void setupData();

private slots:
    void on_pushButton_adicionar_clicked();
    void on_pushButton_alterar_clicked();
    void on_pushButton_apagar_clicked();
    void on_pushButton_subir_clicked();
    void on_pushButton_descer_clicked();
    void on_pushButton_aplicar_clicked();
    void on_tableWidget_regras_itemSelectionChanged();

private:
    bool regraDoFormulario(Regra *regra);
    void incompleta(const QString &falta);
    Resultado<> listar(int idSelecionada = 0);
    // The selected row, or -1 after telling the user to select one.
    int selecionada();
    void mover(int passo);
    bool grava(const Resultado<> &mudanca, const QString &erro, int idSelecionada = 0);
    void falhou(const QString &texto, const Motivo &motivo);

    Ui::Regras *ui;
    QList<Regra> regras;
};

#endif // REGRAS_H
