#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"

#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

enum Categoria { Existente, Nula, Apagada };
Q_DECLARE_METATYPE(Categoria)

// The twelve-month report on a scratch database. Expenses are dated by the
// server, relative to its CURDATE(), which is what decides the sums.
class TstRelatorios : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("relatorios")};

    QVariant categoria(const QString &nome)
    {
        banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {nome});
        return banco.valor("SELECT idCategoria FROM categoria WHERE categoria = ?", {nome});
    }
    bool gasto(const QString &dataSql, const QString &valor, const QVariant &id)
    {
        return banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, idCategoria) "
                                            "SELECT %1, 'Loja', ?, ?").arg(dataSql), {valor, id});
    }
    // The report's header, then its rows as they show, cut to their first colunas cells.
    static QStringList grade(const Relatorios &r, int colunas = 99)
    {
        auto *t = r.findChild<QTableWidget *>("tableWidget_relatorio");
        QStringList linhas;
        for (int linha = -1; linha < t->rowCount(); ++linha) {
            QStringList celulas;
            for (int c = 0; c < qMin(colunas, t->columnCount()); ++c)
                celulas << (linha < 0 ? t->horizontalHeaderItem(c) : t->item(linha, c))->text();
            linhas << celulas.join('|');
        }
        return linhas;
    }

private slots:
    void init() { QVERIFY2(banco.pronto() && banco.esvaziar(), qPrintable(banco.erro())); }

    void somaCadaGastoNaColunaDoSeuMes_data()
    {
        QTest::addColumn<QString>("dataSql");
        QTest::addColumn<Categoria>("tipo");
        QTest::addColumn<int>("coluna");
        QTest::newRow("fim do mês atual") << "LAST_DAY(CURDATE())" << Existente << 2;
        QTest::newRow("um mês atrás") << "DATE_SUB(CURDATE(), INTERVAL 1 MONTH)" << Existente << 3;
        QTest::newRow("1º dia do mês mais antigo") << "DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL 12 MONTH), '%Y-%m-01')" << Existente << 14;
        QTest::newRow("véspera do período") << "LAST_DAY(DATE_SUB(CURDATE(), INTERVAL 13 MONTH))" << Existente << -1;
        QTest::newRow("mês seguinte") << "DATE_ADD(CURDATE(), INTERVAL 1 MONTH)" << Existente << 0;
        QTest::newRow("sem categoria") << "CURDATE()" << Nula << 2;
        QTest::newRow("categoria apagada") << "DATE_SUB(CURDATE(), INTERVAL 2 MONTH)" << Apagada << 4;
    }
    // coluna: where the sum shows (0: a row of zeros, -1: no row); a NULL key shows as "0".
    void somaCadaGastoNaColunaDoSeuMes()
    {
        QFETCH(QString, dataSql);
        QFETCH(Categoria, tipo);
        QFETCH(int, coluna);
        const QVariant id = tipo == Nula ? QVariant(QVariant::Int) : categoria("Mercado");
        QVERIFY(gasto(dataSql, "10.10", id) && gasto(dataSql, "20.25", id));
        QVERIFY(tipo != Apagada || banco.executa("DELETE FROM categoria"));
        QStringList cabecalho {"ID", "Categoria", "Mês Atual"},
            linha {tipo == Existente ? id.toString() : "0", tipo == Existente ? "Mercado" : "Não Classificado"};
        for (int k = 1; k <= 12; ++k)
            cabecalho << QDate::currentDate().addMonths(-k).toString("MM/yyyy");
        for (int c = 2; c < 15; ++c)
            linha << (c == coluna ? "30.35" : "0.00");
        Relatorios r;
        QCOMPARE(grade(r, 15), QStringList(cabecalho.join('|')) << (coluna < 0 ? QStringList() : QStringList(linha.join('|'))));
    }

    // Sorted as numbers, and each key stays on its own category's row.
    void somasOrdenamComoNumeros()
    {
        QStringList esperadas {"ID|Categoria|Mês Atual"};
        for (const auto &[nome, valor] : {std::pair("Café", "3.50"), {"Aluguel", "20.00"}, {"Bar", "100.00"}}) {
            const QVariant id = categoria(nome);
            QVERIFY(gasto("CURDATE()", valor, id));
            esperadas << id.toString() + '|' + nome + '|' + valor;
        }
        Relatorios r;
        auto *t = r.findChild<QTableWidget *>();
        QVERIFY(t->isSortingEnabled() && t->isColumnHidden(0) && t->editTriggers() == QAbstractItemView::NoEditTriggers);
        t->sortByColumn(2, Qt::AscendingOrder);
        QCOMPARE(grade(r, 3), esperadas);
    }

    // A statement refused on a live connection: an empty grid and one debug line.
    void falhaDaConsultaDeixaGradeVazia()
    {
        QVERIFY(gasto("CURDATE()", "1.00", categoria("Mercado")));
        QVERIFY(QSqlQuery().exec("SET SESSION sql_mode = CONCAT(@@sql_mode, ',ONLY_FULL_GROUP_BY')"));
        CapturaDebug debug;
        QCOMPARE(grade(Relatorios()), QStringList(""));
        QCOMPARE(debug.linhas().size(), 1);
        QVERIFY(debug.linhas().first().startsWith("Erro ao executar a query: \""));
    }
};

QTEST_MAIN(TstRelatorios)
#include "tst_relatorios.moc"
