#ifndef LANCAMENTOS_H
#define LANCAMENTOS_H

#include "register/filtrolancamentos.h"

#include <QDialog>
#include <QTimer>

class ModeloLancamentos;
class QModelIndex;
struct Motivo;

namespace Ui {
class Lancamentos;
}

// The register: every expense, newest first, under a search over supplier
// and description in all months and filters by months, category and
// account, with the count and total of what is listed; each can be edited,
// split or deleted, and one can be added by hand.
class Lancamentos final : public QDialog
{
    Q_OBJECT

public:
    explicit Lancamentos(QWidget *parent = nullptr);
    ~Lancamentos() override;

public slots:
    // Reads the categories, the accounts and the first expenses; runs once
    // before the window shows.
    void setupData();

private slots:
    void on_lineEdit_busca_returnPressed();
    void on_checkBox_periodo_toggled(bool marcado);
    void on_tableView_lancamentos_doubleClicked(const QModelIndex &index);
    void on_pushButton_novo_clicked();
    void on_pushButton_editar_clicked();
    void on_pushButton_dividir_clicked();
    void on_pushButton_apagar_clicked();
    void filtrar();

private:
    FiltroLancamentos filtroDaTela() const;
    // Lists again under the filter on screen, then selects the expense given.
    bool listar(int idSelecionado = 0);
    void mostraResumo();
    void editar(int linha);
    // The one selected row, or -1 after telling the user to select one.
    int linhaEscolhida();
    void falhou(const QString &texto, const Motivo &motivo);

    Ui::Lancamentos *ui;
    ModeloLancamentos *modelo;
    // The search runs once typing pauses, not at every key.
    QTimer adiamentoDaBusca;
};

#endif // LANCAMENTOS_H
