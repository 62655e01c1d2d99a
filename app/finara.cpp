#include "app/finara.h"
#include "ui_finara.h"

#include "budget/janelaorcamento.h"
#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "database/bancodedados.h"
#include "import/importacoes.h"
#include "import/importarcsv.h"
#include "register/lancamentos.h"
#include "reports/relatorios.h"
#include "rules/regras.h"

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
    mostraEstadoDaConexao();
}

Finara::~Finara()
{
    delete ui;
}

void Finara::on_pushButton_conectarBD_clicked()
{
    BancodeDados dialogo(this);
    dialogo.setModal(true);
    dialogo.exec();
    db = dialogo.readBD();
    mostraEstadoDaConexao();
}

// In the title, so it is seen from every window and in the task bar.
void Finara::mostraEstadoDaConexao()
{
    // A connection through the local server's socket may name no host.
    const QString servidor = db.hostName().isEmpty() ? QStringLiteral("este computador") : db.hostName();
    const QString estado = db.isOpen() ? QStringLiteral("conectado a %1 em %2").arg(db.databaseName(), servidor)
                                       : QStringLiteral("desconectado");
    setWindowTitle(QStringLiteral("Finara — %1").arg(estado));
}

void Finara::on_pushButton_importarCSV_clicked()
{
    ImportarCSV dialogo(this);
    dialogo.setupData(&db);
    dialogo.setModal(true);
    dialogo.exec();
}

void Finara::on_pushButton_categoria_clicked()
{
    Categoria dialogo(this);
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}

void Finara::on_pushButton_clicked()
{
    AnaliseDados dialogo(this);
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}

void Finara::on_pushButton_analisar_clicked()
{
    Relatorios relatorio(this);
    relatorio.setModal(true);
    relatorio.exec();
}

void Finara::on_pushButton_importacoes_clicked()
{
    Importacoes dialogo(this);
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}

void Finara::on_pushButton_regras_clicked()
{
    Regras dialogo(this);
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}

void Finara::on_pushButton_orcamento_clicked()
{
    JanelaOrcamento dialogo(this);
    dialogo.setModal(true);
    dialogo.exec();
}

void Finara::on_pushButton_lancamentos_clicked()
{
    Lancamentos dialogo(this);
    dialogo.setModal(true);
    dialogo.setupData();
    dialogo.exec();
}
