#include "database/bancodedados.h"
#include "ui_bancodedados.h"

#include "database/conexao.h"

#include <QDebug>
#include <QSqlError>

BancodeDados::BancodeDados(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::BancodeDados)
{
    ui->setupUi(this);
    ui->lineEdit_host->setText(Conexao::host());
    ui->lineEdit_bd->setText(Conexao::banco());
    ui->lineEdit_user->setText(Conexao::usuario());
    ui->lineEdit_senha->setText(Conexao::senha());
    ui->label_status->setText(QStringLiteral("Banco de dados desconectado"));
}

BancodeDados::~BancodeDados()
{
    delete ui;
}

QSqlDatabase BancodeDados::readBD()
{
    return db;
}

void BancodeDados::on_pushButton_bd_clicked()
{
    if (connectToDatabase()) {
        ui->label_status->setText(QStringLiteral("Banco de dados conectado"));
        close();
    } else {
        ui->label_status->setText(QStringLiteral("Erro ao conectar Banco de dados"));
    }
}

bool BancodeDados::connectToDatabase()
{
    // The fields are for show only: the built-in parameters always apply.
    db = QSqlDatabase::addDatabase(Conexao::driver());
    Conexao::configurar(db);
    if (!Conexao::abrir(db)) {
        qDebug() << "Erro ao abrir o banco de dados:" << db.lastError().text();
        return false;
    }
    return true;
}
