#include "app/finara.h"
#include "ui_finara.h"

#include "database/bancodedados.h"

Finara::Finara(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::Finara)
{
    ui->setupUi(this);
}

Finara::~Finara()
{
    delete ui;
}

void Finara::on_pushButton_conectarBD_clicked()
{
    BancodeDados dialogo;
    dialogo.setModal(true);
    dialogo.exec();
    db = dialogo.readBD();
}
