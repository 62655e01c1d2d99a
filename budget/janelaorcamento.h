#ifndef JANELAORCAMENTO_H
#define JANELAORCAMENTO_H

#include <QDialog>
#include <QHash>

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
    void mostraTotais();

    Ui::JanelaOrcamento *ui;
    QHash<int, qint64> orcamentos; // each category's budget in cents, 0 for none
};

#endif // JANELAORCAMENTO_H
