#include "import/importacoes.h"
#include "ui_importacoes.h"

#include "database/gradebrasileira.h"
#include "database/sql.h"
#include "import/historicodeimportacoes.h"
#include "messages/caixamensagem.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

enum Coluna { Id, Data, Arquivo, Linhas, Total };

} // namespace

Importacoes::Importacoes(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Importacoes)
{
    ui->setupUi(this);
}

Importacoes::~Importacoes()
{
    delete ui;
}

void Importacoes::setupData()
{
    const QString faltaAtualizar = HistoricoDeImportacoes::faltaAtualizar();
    if (!faltaAtualizar.isEmpty()) {
        mostraCaixa(this, QMessageBox::Critical, QStringLiteral("Banco de dados desatualizado"), faltaAtualizar);
        return;
    }
    const Resultado<> listadas = listar();
    if (!listadas.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro na Conexão"),
                    QStringLiteral("Erro na leitura do banco de dados"), listadas.motivo());
}

Resultado<> Importacoes::listar()
{
    Resultado<QSqlQuery> consulta = Sql::executa(QStringLiteral(
        "SELECT idImportacao, quando, arquivo, linhas, total FROM importacao ORDER BY quando DESC, idImportacao DESC"));
    if (!consulta.ok())
        return consulta.motivo();
    GradeBrasileira::preenche(ui->tableWidget_importacoes,
                              {QStringLiteral("ID"), QStringLiteral("Data"), QStringLiteral("Arquivo"),
                               QStringLiteral("Linhas"), QStringLiteral("Total")},
                              consulta.valor());
    ui->tableWidget_importacoes->hideColumn(Id);
    return Feito();
}

void Importacoes::on_pushButton_desfazer_clicked()
{
    const QList<QTableWidgetItem *> selecionados = ui->tableWidget_importacoes->selectedItems();
    if (selecionados.isEmpty()) {
        mostraCaixa(this, QMessageBox::Information, QStringLiteral("Nenhuma Seleção"),
                    QStringLiteral("Escolha na lista a importação a desfazer."));
        return;
    }
    const int linha = selecionados.first()->row();
    const int idImportacao = ui->tableWidget_importacoes->item(linha, Id)->text().toInt();
    if (!confirmar(linha, idImportacao))
        return;
    if (!HistoricoDeImportacoes::desfazer(QSqlDatabase::database(), idImportacao))
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"),
                    QStringLiteral("Não foi possível desfazer a importação; nada foi apagado."));
    listar();
}

// Names what will go, including how many of the expenses have a category
// (given by the rules on import or by the user since), lost with them.
bool Importacoes::confirmar(int linha, int idImportacao)
{
    HistoricoDeImportacoes::Conteudo conteudo;
    if (!HistoricoDeImportacoes::conteudo(idImportacao, &conteudo)) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro na Conexão"),
                    QStringLiteral("Erro na leitura do banco de dados"));
        return false;
    }
    const auto texto = [&](Coluna coluna) { return ui->tableWidget_importacoes->item(linha, coluna)->text(); };
    // One arg() call, so that a "%1" in the file's name stays text.
    const QString pergunta =
        QStringLiteral("Desfazer a importação de %1 (%2)?\n%3 gastos serão apagados, %4 deles com "
                       "categoria. Os gastos lançados de outra forma ficam como estão.")
            .arg(texto(Arquivo), texto(Data), QString::number(conteudo.gastos),
                 QString::number(conteudo.classificados));
    return mostraCaixa(this, QMessageBox::Question, QStringLiteral("Desfazer importação"), pergunta, {},
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}
