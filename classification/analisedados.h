#ifndef ANALISEDADOS_H
#define ANALISEDADOS_H

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class QSqlQueryModel;

namespace Ui {
class AnaliseDados;
}

// Lists the expenses of a month and year under a text filter and gives the
// selected ones the category selected beside them.
class AnaliseDados : public QDialog
{
    Q_OBJECT

public:
    explicit AnaliseDados(QWidget *parent = nullptr);
    ~AnaliseDados() override;

public slots:
    void setupData();

private slots:
    void on_pushButton_classificar_clicked();
    void montaWidgetDados(int mes, int ano, QString filtro = QString());
    void on_pushButton_filtro_clicked();

private:
    void listaPelosCampos(const QList<int> &classificados);
    void listaGastos(int mes, int ano, const QString &filtro, const QList<int> &classificados);
    void listaCategorias();
    void criaRegraDoFiltro(int idCategoria, const QString &categoria);

    Ui::AnaliseDados *ui;
    QDate dataAtual;
    QSqlQueryModel *modeloCategoria;
    QString consultaGastos;
};

#endif // ANALISEDADOS_H
