#include "reports/relatorios.h"
#include "ui_relatorios.h"

#include "database/tabelaconsulta.h"
#include "messages/caixamensagem.h"
#include "reports/janeladetalhe.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlRecord>

namespace {

// The lower bound is the first day of the month twelve months back, so the
// oldest column sums its whole month like every other; it stays a bare
// comparison on data so that an index on data can serve it.
const char *const sqlRelatorio = R"(SELECT categoria.idCategoria as ID, IFNULL(categoria.categoria, 'Não Classificado') AS categoria,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(CURDATE(), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Atual`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 1 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_1`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 2 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_2`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 3 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_3`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 4 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_4`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 5 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_5`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 6 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_6`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 7 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_7`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 8 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_8`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 9 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_9`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 10 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_10`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 11 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_11`,
    SUM(CASE WHEN DATE_FORMAT(data, '%m/%Y') = DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%m/%Y') THEN valor ELSE 0 END) AS `Mes_Anterior_12`
FROM gastos LEFT JOIN categoria ON gastos.idCategoria = categoria.idCategoria
WHERE data >= DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%Y-%m-01')
GROUP BY categoria.categoria
ORDER BY categoria.categoria;)";

const int colunaChave = 0;
const int colunaNome = 1;
const int colunaMesAtual = 2;

} // namespace

Relatorios::Relatorios(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Relatorios)
    , hoje(QDate::currentDate())
{
    ui->setupUi(this);
    if (relPrincipal())
        montaTabelaRelatorio();
}

Relatorios::~Relatorios()
{
    delete ui;
}

bool Relatorios::relPrincipal()
{
    const bool executou = consulta.exec(QString::fromUtf8(sqlRelatorio));
    if (!executou)
        qDebug() << "Erro ao executar a query:" << consulta.lastError().text();
    return executou;
}

void Relatorios::montaTabelaRelatorio()
{
    QStringList rotulos {QStringLiteral("ID"), QStringLiteral("Categoria"), QStringLiteral("Mês Atual")};
    QDate mes = hoje;
    for (int i = colunaMesAtual + 1; i < consulta.record().count(); ++i) {
        mes = mes.addMonths(-1);
        rotulos << formataData(QStringLiteral("MM/yyyy"), mes);
    }
    QTableWidget *tabela = ui->tableWidget_relatorio;
    preencheTabelaComConsulta(rotulos, &consulta, tabela);
    tabela->hideColumn(colunaChave);
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Switched on only now: the fill is fast and keeps records whole with
    // sorting off, and switching it on sorts once by the header's indicator.
    tabela->setSortingEnabled(true);
}

void Relatorios::on_tableWidget_relatorio_doubleClicked(const QModelIndex &index)
{
    if (index.column() < colunaMesAtual) {
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro ao clicar"),
                    QStringLiteral("Clique numa coluna com valores"),
                    {QStringLiteral("Um duplo clique na soma de um mês mostra os gastos que a compõem."), {}});
        return;
    }
    const QTableWidget *tabela = ui->tableWidget_relatorio;
    const QString nome = tabela->item(index.row(), colunaNome)->text();
    // The row "Não Classificado" has a NULL key, which the grid shows as "0";
    // any text that is no number reads as 0 too, and the detail window takes
    // 0 as "no category" (the server never hands out 0 as a key).
    const int id = tabela->item(index.row(), colunaChave)->text().toInt(nullptr, 10);
    const QDate mes = hoje.addMonths(colunaMesAtual - index.column());

    auto *janela = new JanelaDetalhe(id, mes, nome, this);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->show();
}
