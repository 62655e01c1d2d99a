#ifndef BANCODEDADOS_H
#define BANCODEDADOS_H

#include <QDialog>
#include <QSqlDatabase>

namespace Ui {
class BancodeDados;
}

// Opens the application's default database connection with the built-in
// parameters and reports the outcome in its status line.
class BancodeDados : public QDialog
{
    Q_OBJECT

public:
    explicit BancodeDados(QWidget *parent = nullptr);
    ~BancodeDados() override;

public slots:
    QSqlDatabase readBD();

private slots:
    void on_pushButton_bd_clicked();
    bool connectToDatabase();

private:
    Ui::BancodeDados *ui;
    QSqlDatabase db;
};

#endif // BANCODEDADOS_H
