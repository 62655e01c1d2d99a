#include "app/finara.h"
#include "ui_finara.h"

#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "database/bancodedados.h"
#include "import/importacoes.h"
#include "import/importarcsv.h"
#include "reports/relatorios.h"

#include <QIcon>

Finara::Finara(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::Finara)
{
    // The icon lives in this library's resources; a static library needs
    // them registered by hand.
    Q_INIT_RESOURCE(finara);
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/finara.png")));
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

void Finara::on_pushButton_importarCSV_clicked()
{
    ImportarCSV dialogo;
    dialogo.setupData(&db);
    dialogo.setModal(true);
    dialogo.exec();
}

void Finara::on_pushButton_categoria_clicked()
{
    Categoria dialogo;
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}

void Finara::on_pushButton_clicked()
{
    AnaliseDados dialogo;
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}

void Finara::on_pushButton_analisar_clicked()
{
    Relatorios relatorio;
    relatorio.setModal(true);
    relatorio.exec();
}

void Finara::on_pushButton_importacoes_clicked()
{
    Importacoes dialogo;
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}
