#ifndef JANELAORCAMENTO_H
#define JANELAORCAMENTO_H

#include <QDialog>

class QTableWidgetItem;

namespace Ui {
class JanelaOrcamento;
}

// Every category with its monthly budget, each saved as soon as its cell is
// edited and Enter pressed.
class JanelaOrcamento final : public QDialog
{
    Q_OBJECT

public:
    explicit JanelaOrcamento(QWidget *parent = nullptr);
    ~JanelaOrcamento() override;

private slots:
    void on_tableWidget_orcamento_itemChanged(QTableWidgetItem *item);

private:
    void carrega();

    Ui::JanelaOrcamento *ui;
};

#endif // JANELAORCAMENTO_H
