#include "database/bancodedados.h"
#include "ui_bancodedados.h"

#include "database/chaveiro.h"

#include <QDebug>
#include <QFileDialog>
#include <QSqlError>

BancodeDados::BancodeDados(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::BancodeDados)
{
    ui->setupUi(this);
    const Conexao::Parametros p = Conexao::lembrados();
    ui->lineEdit_host->setText(p.host);
    ui->lineEdit_bd->setText(p.banco);
    ui->lineEdit_user->setText(p.usuario);
    ui->lineEdit_senha->setText(p.senha);
    ui->lineEdit_certificado->setText(p.certificado);
    ui->label_status->setText(QStringLiteral("Banco de dados desconectado"));
    if (p.senha.isEmpty()) {
        Chaveiro::ler(conta(p), this, [this, p](const QString &senha) {
            if (ui->lineEdit_senha->text().isEmpty() && conta(digitados()) == conta(p))
                ui->lineEdit_senha->setText(senha);
        });
    }
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

void BancodeDados::on_pushButton_certificado_clicked()
{
    const QString arquivo = QFileDialog::getOpenFileName(this, QStringLiteral("Certificado da casa"),
        ui->lineEdit_certificado->text(), QStringLiteral("Certificados (*.pem *.crt);;Todos os arquivos (*)"));
    if (!arquivo.isEmpty())
        ui->lineEdit_certificado->setText(arquivo);
}

Conexao::Parametros BancodeDados::digitados() const
{
    return {ui->lineEdit_host->text().trimmed(), ui->lineEdit_bd->text().trimmed(),
            ui->lineEdit_user->text().trimmed(), ui->lineEdit_senha->text(),
            ui->lineEdit_certificado->text().trimmed()};
}

QString BancodeDados::conta(const Conexao::Parametros &p)
{
    return p.usuario + QLatin1Char('@') + p.host;
}

bool BancodeDados::connectToDatabase()
{
    const Conexao::Parametros p = digitados();
    db = QSqlDatabase::addDatabase(Conexao::driver());
    Resultado<> aberto = Conexao::configurar(db, p);
    if (aberto.ok() && !Conexao::abrir(db)) {
        qDebug() << "Erro ao abrir o banco de dados:" << db.lastError().text();
        aberto = Conexao::motivoDaFalha(db.lastError(), p);
    }
    if (!aberto.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Conectar ao banco de dados"),
                    QStringLiteral("Não foi possível conectar ao banco de dados."), aberto.motivo());
        return false;
    }
    Conexao::lembrar(p);
    if (p.usuario != Conexao::embutidos().usuario)
        Chaveiro::guardar(conta(p), p.senha);
    return true;
}
