#include "instalments/janelacompromissos.h"
#include "ui_janelacompromissos.h"

#include "database/gradebrasileira.h"
#include "instalments/tabelacompras.h"
#include "messages/caixamensagem.h"
#include "messages/formatacao.h"

#include <QHeaderView>

namespace {

const int colunaCategoria = 0;

} // namespace

JanelaCompromissos::JanelaCompromissos(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::JanelaCompromissos)
{
    ui->setupUi(this);
    const Resultado<QVector<Compra>> lidas = TabelaCompras::lista();
    if (!lidas.ok()) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro na Conexão"),
                    QStringLiteral("Erro na leitura do banco de dados"), lidas.motivo());
        return;
    }
    compras = lidas.valor();
    futuros = compromissos(compras, QDate::currentDate());
    mostra();
}

JanelaCompromissos::~JanelaCompromissos()
{
    delete ui;
}

void JanelaCompromissos::mostra()
{
    QTableWidget *tabela = ui->tableWidget_compromissos;
    QStringList rotulos {QStringLiteral("Categoria")};
    for (const QDate &mes : qAsConst(futuros.meses))
        rotulos << mes.toString(QStringLiteral("MM/yyyy"));
    tabela->setColumnCount(rotulos.size());
    tabela->setHorizontalHeaderLabels(rotulos);
    categorias = futuros.porCategoria.keys().toVector();
    std::sort(categorias.begin(), categorias.end(), [this](int a, int b) {
        return QString::localeAwareCompare(futuros.nomes.value(a), futuros.nomes.value(b)) < 0;
    });
    tabela->setRowCount(categorias.size() + 1);
    for (int linha = 0; linha <= categorias.size(); ++linha) {
        const bool total = linha == categorias.size();
        QTableWidgetItem *nome =
            GradeBrasileira::celula(total ? QStringLiteral("Total") : futuros.nomes.value(categorias.at(linha)));
        QFont fonte = nome->font();
        fonte.setBold(total);
        nome->setFont(fonte);
        tabela->setItem(linha, colunaCategoria, nome);
        for (int mes = 0; mes < futuros.meses.size(); ++mes) {
            qint64 soma = 0;
            for (const int id : total ? categorias : QVector<int> {categorias.at(linha)})
                soma += futuros.soma(id, mes);
            tabela->setItem(linha, mes + 1, GradeBrasileira::celulaEmReais(soma));
        }
    }
    // In the categories' order, the total last: not sorted by a click.
    GradeBrasileira::arruma(tabela);
    tabela->setSortingEnabled(false);
    tabela->verticalHeader()->hide();
}

void JanelaCompromissos::on_tableWidget_compromissos_doubleClicked(const QModelIndex &index)
{
    if (index.column() == colunaCategoria || index.row() >= categorias.size())
        return;
    const int mes = index.column() - 1;
    QStringList linhas;
    for (const ParcelaFutura &parcela : futuros.porCategoria.value(categorias.at(index.row())).value(mes)) {
        const Compra &compra = compras.at(parcela.compra);
        const QString falta = lacunas(compra);
        linhas << QStringLiteral("%1 — %2: %3%4").arg(compra.fornecedor, descricaoDaParcela(compra, parcela.numero),
                                                       centavosEmReais(parcela.centavos),
                                                       falta.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(falta));
    }
    const QString titulo = QStringLiteral("%1 em %2").arg(futuros.nomes.value(categorias.at(index.row())),
                                                          futuros.meses.at(mes).toString(QStringLiteral("MM/yyyy")));
    mostraCaixa(this, QMessageBox::Information, QStringLiteral("Compromissos"), titulo,
                {linhas.isEmpty() ? QStringLiteral("Nenhuma parcela.") : linhas.join(QLatin1Char('\n')), {}, {}});
}
