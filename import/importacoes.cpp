#include "import/importacoes.h"
#include "ui_importacoes.h"

#include "database/gradebrasileira.h"
#include "import/historicodeimportacoes.h"
#include "messages/caixamensagem.h"
#include "messages/formatacao.h"

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
    Resultado<QSqlQuery> consulta = HistoricoDeImportacoes::lista();
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
    const QMessageBox::StandardButton resposta = confirmar(linha, idImportacao);
    if (resposta != QMessageBox::Yes && resposta != QMessageBox::YesToAll)
        return;
    const Resultado<> desfeita =
        HistoricoDeImportacoes::desfazer(QSqlDatabase::database(), idImportacao, resposta == QMessageBox::Yes);
    if (!desfeita.ok())
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"),
                    QStringLiteral("Não foi possível desfazer a importação; nada foi apagado."), desfeita.motivo());
    listar();
}

// Names what will go, including how many of the expenses have a category
// (given by the rules on import or by the user since), lost with them. When
// a later import left some of them out as repeated, they are in no other
// import: the user chooses to keep them (Yes) or not (YesToAll).
QMessageBox::StandardButton Importacoes::confirmar(int linha, int idImportacao)
{
    const Resultado<HistoricoDeImportacoes::Conteudo> lido = HistoricoDeImportacoes::conteudo(idImportacao);
    if (!lido.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro na Conexão"),
                    QStringLiteral("Erro na leitura do banco de dados"), lido.motivo());
        return QMessageBox::No;
    }
    const HistoricoDeImportacoes::Conteudo &conteudo = lido.valor();
    const auto texto = [&](Coluna coluna) { return ui->tableWidget_importacoes->item(linha, coluna)->text(); };
    // One arg() call, so that a "%1" in the file's name stays text.
    const QString pergunta =
        QStringLiteral("Desfazer a importação de %1 (%2)?\n%3 apagados, %4 deles com "
                       "categoria. Os gastos lançados de outra forma ficam como estão.")
            .arg(texto(Arquivo), texto(Data), contagem(conteudo.gastos, "%1 lançamento será", "%1 lançamentos serão"),
                 QString::number(conteudo.classificados));
    if (conteudo.daPosterior == 0)
        return mostraPergunta(this, QStringLiteral("Desfazer importação"), pergunta, QString(),
                              {{QMessageBox::No, QStringLiteral("Não")}, {QMessageBox::Yes, QStringLiteral("Sim")}});
    const QString posterior =
        QStringLiteral("%1 destes lançamentos também estão num extrato importado depois, que os deixou de fora por "
                       "já estarem aqui: sem eles, aquele extrato ficaria incompleto.")
            .arg(conteudo.daPosterior);
    return mostraPergunta(this, QStringLiteral("Desfazer importação"), pergunta, posterior,
                          {{QMessageBox::Yes, QStringLiteral("Manter esses %1 e apagar o resto").arg(conteudo.daPosterior)},
                           {QMessageBox::YesToAll, QStringLiteral("Apagar todos")},
                           {QMessageBox::Cancel, QStringLiteral("Cancelar")}});
}
