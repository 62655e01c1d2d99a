#ifndef FINARA_H
#define FINARA_H

#include <QSqlDatabase>
#include <QWidget>

namespace Ui {
class Finara;
}

// The main window: one button per function of the program, each running its
// dialog modally.
class Finara : public QWidget
{
    Q_OBJECT

public:
    explicit Finara(QWidget *parent = nullptr);
    ~Finara() override;

    // The handle the last run of the connection dialog handed back.
    QSqlDatabase baseDeDados() const { return db; }

private slots:
    void on_pushButton_conectarBD_clicked();
    void on_pushButton_importarCSV_clicked();
    void on_pushButton_categoria_clicked();
    void on_pushButton_clicked();
    void on_pushButton_analisar_clicked();
    void on_pushButton_importacoes_clicked();
    void on_pushButton_regras_clicked();
    void on_pushButton_orcamento_clicked();
    void on_pushButton_contas_clicked();
    void on_pushButton_compromissos_clicked();
    void on_pushButton_lancamentos_clicked();

private:
    void mostraEstadoDaConexao();
    void ofereceEntradasAntigas();

    Ui::Finara *ui;
    QSqlDatabase db;
};

#endif // FINARA_H
