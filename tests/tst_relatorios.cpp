#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QTableWidget>
#include <QtTest>

// The twelve-month report and the detail windows a double-click on its cells opens, over
// expenses dated by the server around its CURDATE(), which is what decides the sums.
class TstRelatorios : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("relatorios")};

private slots:
    void initTestCase()
    {
        QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
        for (const char *nome : {"Mercado", "Farmácia", "Apagada", "Antiga"})
            QVERIFY(banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {QString::fromUtf8(nome)}));
        // supplier, date, amount, category
        const QList<QStringList> gastos {
            {"Padaria", "LAST_DAY(CURDATE())", "15.50", "Mercado"},
            {"Feira", "DATE_FORMAT(CURDATE(), '%Y-%m-01')", "4.25", "Mercado"},
            {"Atacado", "CURDATE() - INTERVAL 1 MONTH", "100.00", "Mercado"},
            {"Compra", "CURDATE() - INTERVAL 3 MONTH", "10.00", "Mercado"},
            {"Estorno", "CURDATE() - INTERVAL 3 MONTH", "-10.00", "Mercado"},
            {"Mais antigo", "DATE_FORMAT(CURDATE() - INTERVAL 12 MONTH, '%Y-%m-01')", "7.00", "Mercado"},
            {"Fora do período", "LAST_DAY(CURDATE() - INTERVAL 13 MONTH)", "9.00", "Antiga"},
            {"Drogaria", "CURDATE() - INTERVAL 1 MONTH", "30.00", "Farmácia"},
            {"Sem categoria", "CURDATE()", "8.00", ""},
            {"Categoria apagada", "CURDATE()", "2.00", "Apagada"},
            {"Apagada antes", "CURDATE() - INTERVAL 2 MONTH", "5.00", "Apagada"}};
        for (const QStringList &g : gastos)
            QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, idCategoria) "
                "SELECT %1, ?, ?, (SELECT idCategoria FROM categoria WHERE categoria = ?)").arg(g[1]),
                {g[0], g[2], g[3]}));
        QVERIFY(banco.executa("DELETE FROM categoria WHERE categoria = 'Apagada'"));
    }

    // Key and name cells only warn. Each sum (a cancelling 0.00 too) is the total of the
    // rows its window lists, all of its column's month; a sum without rows warns and leaves an
    // empty window. Every expense of the twelve months is listed once.
    void cadaSomaEhOTotalDaSuaJanela()
    {
        Relatorios r;
        auto *t = r.findChild<QTableWidget *>();
        QStringList listados, categorias;
        for (int linha = 0; linha < t->rowCount(); ++linha) {
            categorias << t->item(linha, 1)->text();
            for (int coluna = 0; coluna < t->columnCount(); ++coluna) {
                RespostaModal resposta;
                emit t->doubleClicked(t->model()->index(linha, coluna));
                auto *janela = r.findChildren<JanelaDetalhe *>().value(0);
                if (coluna < 2 || !janela->findChild<QTableWidget *>()->rowCount()) {
                    QCOMPARE(resposta.vistas().join(""), coluna < 2 ? "Clique numa coluna com valores"
                                                                    : "Não foram encontrados dados");
                    QVERIFY(coluna < 2 ? !janela : t->item(linha, coluna)->text() == "0.00");
                    delete janela;
                    continue;
                }
                const QString mes = QDate::currentDate().addMonths(2 - coluna).toString("MM/yyyy");
                const auto detalhe = linhasDaGrade(janela->findChild<QTableWidget *>());
                double total = 0;
                for (const QString &gasto : detalhe) {
                    QCOMPARE(QDate::fromString(gasto.section('|', 0, 0), Qt::ISODate).toString("MM/yyyy"), mes);
                    listados << gasto.section('|', 1, 1) + ' ' + gasto.section('|', 3, 3);
                    total += gasto.section('|', 3, 3).toDouble();
                }
                QCOMPARE(QString::number(total, 'f', 2), t->item(linha, coluna)->text());
                QVERIFY(coluna == 2 || t->horizontalHeaderItem(coluna)->text() == mes);
                delete janela;
            }
        }
        listados.sort();
        QCOMPARE(listados, QStringList({"Apagada antes 5.00", "Atacado 100.00", "Categoria apagada 2.00",
            "Compra 10.00", "Drogaria 30.00", "Estorno -10.00", "Feira 4.25", "Mais antigo 7.00",
            "Padaria 15.50", "Sem categoria 8.00"}));
        QCOMPARE(categorias, QStringList({"Não Classificado", "Farmácia", "Mercado"}));
    }
};

QTEST_MAIN(TstRelatorios)
#include "tst_relatorios.moc"
