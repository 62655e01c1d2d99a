#include "app/finara.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

// The twelve-month report on a scratch database. Expenses are dated by the
// server, relative to its CURDATE(), which is what decides the sums.
class TstRelatorios : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }
    void init();
    void somaCadaGastoNaColunaDoSeuMes_data();
    void somaCadaGastoNaColunaDoSeuMes();
    void somasOrdenamComoNumeros();
    void falhaDaConsultaDeixaGradeVazia_data();
    void falhaDaConsultaDeixaGradeVazia();
    void botaoAbreORelatorioModal();

private:
    QVariant categoria(const QString &nome);
    void gasto(const QString &dataSql, const QString &valor, const QVariant &idCategoria);
    static QTableWidget *grade(Relatorios &r) { return r.findChild<QTableWidget *>("tableWidget_relatorio"); }
    BancoTeste banco {QStringLiteral("relatorios")};
};

void TstRelatorios::init()
{
    QVERIFY(banco.esvaziar());
}

QVariant TstRelatorios::categoria(const QString &nome)
{
    banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {nome});
    return banco.valor("SELECT idCategoria FROM categoria WHERE categoria = ?", {nome});
}

void TstRelatorios::gasto(const QString &dataSql, const QString &valor, const QVariant &idCategoria)
{
    QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, idCategoria) "
                                         "SELECT %1, 'Loja', ?, ?").arg(dataSql), {valor, idCategoria}));
}

enum Categoria { Existente, Nula, Apagada };
Q_DECLARE_METATYPE(Categoria)
const int linhaDeZeros = -1;
const int semLinha = -2;

void TstRelatorios::somaCadaGastoNaColunaDoSeuMes_data()
{
    QTest::addColumn<QString>("dataSql");
    QTest::addColumn<Categoria>("tipo");
    QTest::addColumn<int>("coluna");
    QTest::newRow("hoje") << "CURDATE()" << Existente << 2;
    QTest::newRow("fim do mês atual") << "LAST_DAY(CURDATE())" << Existente << 2;
    QTest::newRow("um mês atrás") << "DATE_SUB(CURDATE(), INTERVAL 1 MONTH)" << Existente << 3;
    QTest::newRow("1º dia do mês mais antigo")
        << "DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%Y-%m-01')" << Existente << 14;
    QTest::newRow("véspera do período: período vazio") << "LAST_DAY(DATE_SUB(CURDATE(), INTERVAL 13 MONTH))" << Existente << semLinha;
    QTest::newRow("mês seguinte") << "DATE_ADD(CURDATE(), INTERVAL 1 MONTH)" << Existente << linhaDeZeros;
    QTest::newRow("sem categoria") << "CURDATE()" << Nula << 2;
    QTest::newRow("categoria apagada") << "DATE_SUB(CURDATE(), INTERVAL 2 MONTH)" << Apagada << 4;
}

void TstRelatorios::somaCadaGastoNaColunaDoSeuMes()
{
    QFETCH(QString, dataSql);
    QFETCH(Categoria, tipo);
    QFETCH(int, coluna);
    const QVariant id = tipo == Nula ? QVariant(QVariant::Int) : categoria("Mercado");
    gasto(dataSql, "10.10", id);
    gasto(dataSql, "20.25", id);
    if (tipo == Apagada)
        QVERIFY(banco.executa("DELETE FROM categoria"));

    QStringList esperados {"ID", "Categoria", "Mês Atual"};
    for (int k = 1; k <= 12; ++k)
        esperados << QDate::currentDate().addMonths(-k).toString("MM/yyyy");

    Relatorios r;
    QTableWidget *t = grade(r);
    QStringList rotulos;
    for (int c = 0; c < t->columnCount(); ++c)
        rotulos << t->horizontalHeaderItem(c)->text();
    QCOMPARE(rotulos, esperados);
    QVERIFY(t->isColumnHidden(0) && t->isSortingEnabled());
    QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(t->rowCount(), coluna == semLinha ? 0 : 1);
    if (coluna == semLinha)
        return;
    // The NULL key of "Não Classificado" shows as "0" in the hidden column.
    QCOMPARE(t->item(0, 0)->text(), tipo == Existente ? id.toString() : "0");
    QCOMPARE(t->item(0, 1)->text(), tipo == Existente ? "Mercado" : "Não Classificado");
    for (int c = 2; c < 15; ++c)
        QCOMPARE(t->item(0, c)->text(), c == coluna ? "30.35" : "0.00");
}

void TstRelatorios::somasOrdenamComoNumeros()
{
    QMap<QString, QString> chaves;
    for (const auto &[nome, valor] : {std::pair("Aluguel", "20.00"), {"Bar", "100.00"}, {"Café", "3.50"}}) {
        chaves[nome] = categoria(nome).toString();
        gasto("CURDATE()", valor, chaves[nome]);
    }
    Relatorios r;
    QTableWidget *t = grade(r);
    t->sortByColumn(2, Qt::AscendingOrder);
    QStringList ordem;
    for (int linha = 0; linha < t->rowCount(); ++linha) {
        ordem << t->item(linha, 1)->text() + ' ' + t->item(linha, 2)->text();
        QCOMPARE(t->item(linha, 0)->text(), chaves[t->item(linha, 1)->text()]);
    }
    QCOMPARE(ordem, QStringList({"Café 3.50", "Aluguel 20.00", "Bar 100.00"}));
}

void TstRelatorios::falhaDaConsultaDeixaGradeVazia_data()
{
    QTest::addColumn<QString>("sessao");
    QTest::newRow("conexão fechada") << QString();
    QTest::newRow("ONLY_FULL_GROUP_BY") << "SET SESSION sql_mode = CONCAT(@@sql_mode, ',ONLY_FULL_GROUP_BY')";
}

void TstRelatorios::falhaDaConsultaDeixaGradeVazia()
{
    QFETCH(QString, sessao);
    gasto("CURDATE()", "1.00", categoria("Mercado"));
    if (sessao.isEmpty())
        QSqlDatabase::database().close();
    else
        QVERIFY(QSqlQuery().exec(sessao));
    CapturaDebug debug;
    {
        Relatorios r;
        QCOMPARE(grade(r)->columnCount(), 0);
        QCOMPARE(grade(r)->rowCount(), 0);
    }
    QCOMPARE(debug.linhas().size(), 1);
    QVERIFY(debug.linhas().first().startsWith("Erro ao executar a query: \""));
    QVERIFY(banco.abrirPadrao());
}

void TstRelatorios::botaoAbreORelatorioModal()
{
    Finara w;
    RespostaModal resposta;
    bool modal = false;
    resposta.aoAbrir([&modal](QWidget *d) { modal = d->isModal(); d->close(); });
    w.findChild<QPushButton *>("pushButton_analisar")->click();
    QCOMPARE(resposta.vistas().size(), 1);
    QCOMPARE(resposta.vistas().first().classe, QStringLiteral("Relatorios"));
    QCOMPARE(resposta.vistas().first().pai, nullptr);
    QVERIFY(modal);
}

QTEST_MAIN(TstRelatorios)
#include "tst_relatorios.moc"
