#ifndef BANCODEDADOS_H
#define BANCODEDADOS_H

#include "database/conexao.h"

#include <QDialog>
#include <QSqlDatabase>

namespace Ui {
class BancodeDados;
}

// Opens the application's default database connection with the parameters
// in its fields (the last ones that connected, or the built-in ones) and
// reports the outcome in its status line; a refusal also says why.
class BancodeDados final : public QDialog
{
    Q_OBJECT

public:
    explicit BancodeDados(QWidget *parent = nullptr);
    ~BancodeDados() override;

public slots:
    QSqlDatabase readBD();

private slots:
    void on_pushButton_bd_clicked();
    void on_pushButton_certificado_clicked();
    bool connectToDatabase();

private:
    Conexao::Parametros digitados() const;
    static QString conta(const Conexao::Parametros &p);

    Ui::BancodeDados *ui;
    QSqlDatabase db;
};

#endif // BANCODEDADOS_H
