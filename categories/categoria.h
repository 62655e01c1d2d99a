#ifndef CATEGORIA_H
#define CATEGORIA_H

#include <QDialog>

class QModelIndex;
class QSqlQueryModel;
class QVariant;

namespace Ui {
class Categoria;
}

// Lists, inserts and deletes the categories of the expense database, on
// the application's default connection.
class Categoria : public QDialog
{
    Q_OBJECT

public:
    explicit Categoria(QWidget *parent = nullptr);
    ~Categoria() override;

public slots:
    // Must run once before the dialog is shown: it creates the model.
    void setupData();

private slots:
    void on_pushButton_inserir_clicked();
    void on_tableView_categoria_doubleClicked(const QModelIndex &index);

private:
    bool listar(const QString &consulta);
    bool altera(const QString &comando, const QString &marcador, const QVariant &valor,
                const QString &aviso, const char *diagnostico);

    Ui::Categoria *ui;
    QSqlQueryModel *model = nullptr;
};

#endif // CATEGORIA_H
