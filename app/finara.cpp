#include "app/finara.h"
#include "ui_finara.h"

#include "accounts/entradasantigas.h"
#include "accounts/janelacontas.h"
#include "budget/janelaorcamento.h"
#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "database/bancodedados.h"
#include "import/importacoes.h"
#include "instalments/janelacompromissos.h"
#include "import/importarcsv.h"
#include "register/lancamentos.h"
#include "reports/relatorios.h"
#include "rules/regras.h"

#include "messages/caixamensagem.h"
#include "messages/formatacao.h"

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
    if (db.isOpen())
        ofereceEntradasAntigas();
}

// Once per database, after an upgrade that keeps income apart: the money in
// imported before as negative expenses, moved only with the user's yes.
void Finara::ofereceEntradasAntigas()
{
    const Resultado<std::optional<EntradasAntigas::Oferta>> oferta = EntradasAntigas::aOferecer();
    if (!oferta.ok() || !oferta.valor())
        return;
    const QString texto =
        contagem(oferta.valor()->quantas, "Há %1 valor negativo, de %2, importado de extratos de conta corrente.",
                 "Há %1 valores negativos, total de %2, importados de extratos de conta corrente.")
            .arg(centavosEmReais(oferta.valor()->centavos));
    const QString explicacao = QStringLiteral(
        "Esta versão do Finara guarda o dinheiro que entra nas contas (salário, Pix recebido) como entradas, fora "
        "dos gastos. Esses valores hoje diminuem os gastos dos meses deles. Movê-los para as entradas?");
    const bool mover = mostraPergunta(this, QStringLiteral("Entradas"), texto, explicacao,
                                      {{QMessageBox::No, QStringLiteral("Deixar como gastos")},
                                       {QMessageBox::Yes, QStringLiteral("Mover para as entradas")}})
                       == QMessageBox::Yes;
    const Resultado<> feito = mover ? EntradasAntigas::mover() : EntradasAntigas::recusar();
    if (!feito.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Entradas"),
                    QStringLiteral("Nada foi movido."), feito.motivo());
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

void Finara::on_pushButton_contas_clicked()
{
    JanelaContas dialogo(this);
    dialogo.setModal(true);
    dialogo.exec();
}

void Finara::on_pushButton_compromissos_clicked()
{
    JanelaCompromissos dialogo(this);
    dialogo.setModal(true);
    dialogo.exec();
}
