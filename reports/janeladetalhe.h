#ifndef JANELADETALHE_H
#define JANELADETALHE_H

#include <QDialog>
#include <QVector>

class QDate;
class QLabel;
class QTableWidget;

// The expenses of one category in one calendar month. The key 0 stands for
// the report's row "Não Classificado": expenses without a category or whose
// category no longer exists. A double-click opens the expense in its form.
class JanelaDetalhe : public QDialog
{
    Q_OBJECT

public:
    explicit JanelaDetalhe(int id, const QDate &data, QString nome, QWidget *parent);
    ~JanelaDetalhe() override;

public slots:
    void preencherTabela(int id, const QDate &data, QTableWidget *tabela);

private:
    // The count and the total of the grid's rows, beneath it.
    QLabel *resumo = nullptr;
    // The expense of each row of the grid.
    QVector<int> gastosDasLinhas;
};

#endif // JANELADETALHE_H
