#include "database/tabelaconsulta.h"
#include "import/importarcsv.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

#include <sys/stat.h>

namespace {

QTableWidget *grade(QWidget *janela) { return janela->findChild<QTableWidget *>(); }

bool carregar(ImportarCSV &d, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, caminho), Q_ARG(QTableWidget *, grade(&d)));
    return lido;
}

} // namespace

// The query grid, the import dialog and the report with its detail windows, on scratch tables.
class TstJanelas : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("janelas")};
    QTemporaryDir pasta;

    QString extrato(const QByteArray &conteudo) { return gravarExtrato(pasta.path(), conteudo); }

private slots:
    void init() { QVERIFY2(banco.esvaziar(), qPrintable(banco.erro())); }

    void ordenacao_data()
    {
        QTest::addColumn<QString>("valores");
        QTest::addColumn<QString>("ordenados");
        QTest::newRow("decimal") << "CAST(100 AS DECIMAL(13,2)), -2, 20.5, NULL"
                                 << "-2.00 0.00 20.50 100.00";
        QTest::newRow("inteiro") << "9, 100, 30, -1" << "-1 9 30 100";
        // As DATE_FORMAT(data, '%d/%m/%y') writes them: years 70 to 99 are 19xx, 00 to 69 20xx.
        QTest::newRow("data dd/mm/aa")
            << "'31/12/69', '10/01/25', '01/01/70', '02/01/25', '15/06/99', '02/01/00'"
            << "01/01/70 15/06/99 02/01/00 02/01/25 10/01/25 31/12/69";
        QTest::newRow("texto") << "'banco', 'Zeta', 'Açougue'" << "Açougue Zeta banco";
    }

    // Sorted by the user, then refilled: still sorted, each record still one row.
    void ordenacao()
    {
        QFETCH(QString, valores);
        QFETCH(QString, ordenados);
        QStringList selects;
        for (const QString &valor : valores.split(QStringLiteral(", ")))
            selects << QStringLiteral("SELECT %1, 'registro %2'").arg(valor).arg(selects.size());
        QTableWidget t;
        QStringList registros;
        for (int vez = 0; vez < 2; ++vez) {
            QSqlQuery consulta(selects.join(QStringLiteral(" UNION ALL ")));
            preencheTabelaComConsulta({"A", "B"}, &consulta, &t);
            QStringList linhas = linhasDaGrade(&t);
            if (vez == 0) {
                registros = linhas;
                t.setSortingEnabled(true);
                t.sortByColumn(0, Qt::AscendingOrder);
                linhas = linhasDaGrade(&t);
            }
            QCOMPARE(QSet<QString>(linhas.begin(), linhas.end()),
                     QSet<QString>(registros.begin(), registros.end()));
            QCOMPARE(linhas.replaceInStrings(QRegularExpression("\\|.*"), "").join(' '), ordenados);
        }
    }

    // "Ler CSV" with no file chosen, or with a pipe (which would block), says so; so does a
    // device, which never ends. A double-click asks before removing its row: "No" keeps it. A
    // file goes in above the rows there, red from its first line without four fields on.
    void arquivosERemocao()
    {
        const QString fifo = pasta.filePath(QStringLiteral("fifo.csv"));
        QCOMPARE(mkfifo(qPrintable(fifo), 0600), 0);
        ImportarCSV d;
        d.show();
        RespostaModal resposta;
        for (const QString &caminho : {extrato("1;A;1;a\n2;B;2;b\n3;C;3;c\n"), QString(), fifo}) {
            if (caminho.isEmpty())
                resposta.aoAbrir([](QWidget *janela) { janela->close(); });
            else
                resposta.escolherArquivo(caminho);
            clicar(&d, "pushButton_lercsv");
        }
        QVERIFY(!carregar(d, QStringLiteral("/dev/zero")));
        const QPoint centro = grade(&d)->visualRect(grade(&d)->model()->index(1, 1)).center();
        for (auto botao : {QMessageBox::No, QMessageBox::Yes}) {
            resposta.responder(botao);
            QTest::mouseClick(grade(&d)->viewport(), Qt::LeftButton, {}, centro);
            QTest::mouseDClick(grade(&d)->viewport(), Qt::LeftButton, {}, centro);
            QCOMPARE(linhasDaGrade(grade(&d)).join(' '),
                     QString(botao == QMessageBox::No ? "1|A|1|a 2|B|2|b 3|C|3|c" : "1|A|1|a 3|C|3|c"));
        }
        QVERIFY(!carregar(d, extrato("9;X;9\n8;Caf\xE9;8;y"))); // Windows-1252
        QCOMPARE(linhasDaGrade(grade(&d)).join(' '), QString("*9|X|9|- *8|Café|8|y 1|A|1|a 3|C|3|c"));
        const QString pergunta = QStringLiteral("Você deseja remover a linha selecionada?");
        QCOMPARE(resposta.vistas().filter(QRegularExpression("^[^Q]")), QStringList({
            "Você não escolheu um arquivo", "Erro de leitura no arquivo", pergunta, pergunta}));
    }

    void linhaRecusadaNaoDeixaNada_data()
    {
        QTest::addColumn<QByteArray>("recusada");
        QTest::addColumn<int>("linha");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("data inválida vira NULL") << QByteArray("31/02/2026;B;2,00;b") << 1 << "null";
        QTest::newRow("valor que não é número, fora da vista") << QByteArray("03/03/2026;C;r$ 5,00;c")
                                                               << 150 << "valor";
    }

    // The import is rolled back, and the refused row is selected and brought into view once the
    // error box closes.
    void linhaRecusadaNaoDeixaNada()
    {
        QFETCH(QByteArray, recusada);
        QFETCH(int, linha);
        QFETCH(QString, motivo);
        QSqlDatabase padrao = QSqlDatabase::database();
        ImportarCSV d;
        d.setupData(&padrao);
        d.show();
        const QByteArray boa("01/03/2026;A;1,00;a\n");
        carregar(d, extrato(boa.repeated(linha) + recusada + "\n" + boa));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao inserir dados: \".*(?i)" + motivo));
        RespostaModal resposta;
        int selecionadasNaCaixa = -1;
        resposta.aoAbrir([&](QWidget *caixa) {
            selecionadasNaCaixa = grade(&d)->selectedItems().size();
            caixa->close();
        });
        clicar(&d, "pushButton_importar");
        QCOMPARE(resposta.vistas(), QStringList {"Erro ao importar arquivo"});
        QCOMPARE(selecionadasNaCaixa, 0);
        QSqlQuery naSessao(QStringLiteral("SELECT COUNT(*) FROM gastos")); // sees its uncommitted rows
        QVERIFY(naSessao.next() && naSessao.value(0) == 0);
        const QModelIndex indice = grade(&d)->model()->index(linha, 0);
        QCOMPARE(grade(&d)->selectionModel()->selectedRows(), QModelIndexList {indice});
        QVERIFY(grade(&d)->viewport()->rect().contains(grade(&d)->visualRect(indice)));
    }

    // Key and name cells only warn. Each sum (a cancelling 0.00 too) is the total of the rows its
    // window lists, all of its column's month; a sum without rows warns. Every expense from the
    // first day of the oldest month on is listed once; a category without them has no row.
    void cadaSomaDoRelatorioEhOTotalDaSuaJanela()
    {
        QVERIFY(banco.executa("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Farmácia'), (3, 'Antiga')"));
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, idCategoria) VALUES "
            "(LAST_DAY(CURDATE()), 'Padaria', 15.50, 1), (CURDATE() - INTERVAL 1 MONTH, 'Atacado', 100, 1), "
            "(CURDATE() - INTERVAL 3 MONTH, 'Compra', 10, 1), "
            "(CURDATE() - INTERVAL 3 MONTH, 'Estorno', -10, 1), "
            "(DATE_FORMAT(CURDATE() - INTERVAL 12 MONTH, '%Y-%m-01'), 'Mais antigo', 7, 1), "
            "(LAST_DAY(CURDATE() - INTERVAL 13 MONTH), 'Fora do período', 9, 3), "
            "(CURDATE() - INTERVAL 1 MONTH, 'Drogaria', 30, 2), (CURDATE(), 'Sem categoria', 8, NULL), "
            "(CURDATE() - INTERVAL 2 MONTH, 'Categoria apagada', 5, 4)"));
        Relatorios r;
        QTableWidget *t = grade(&r);
        QStringList listados, categorias;
        for (int linha = 0; linha < t->rowCount(); ++linha) {
            categorias << t->item(linha, 1)->text();
            for (int coluna = 0; coluna < t->columnCount(); ++coluna) {
                RespostaModal resposta;
                emit t->doubleClicked(t->model()->index(linha, coluna));
                QScopedPointer<JanelaDetalhe> janela(r.findChild<JanelaDetalhe *>());
                const QStringList detalhe = janela ? linhasDaGrade(grade(janela.data())) : QStringList();
                const QString mes = QDate::currentDate().addMonths(2 - coluna).toString("MM/yyyy");
                QVERIFY(coluna <= 2 || t->horizontalHeaderItem(coluna)->text() == mes);
                const char *aviso = coluna < 2 ? "Clique numa coluna com valores"
                                               : detalhe.isEmpty() ? "Não foram encontrados dados" : "";
                QCOMPARE(resposta.vistas().join(""), QString(aviso));
                double total = 0;
                for (const QString &gasto : detalhe) {
                    QCOMPARE(QDate::fromString(gasto.left(10), Qt::ISODate).toString("MM/yyyy"), mes);
                    listados << gasto.section('|', 1, 1) + ' ' + gasto.section('|', 3);
                    total += gasto.section('|', 3).toDouble();
                }
                QVERIFY(coluna < 2 || QString::number(total, 'f', 2) == t->item(linha, coluna)->text());
            }
        }
        listados.sort();
        QCOMPARE(listados.join(", "), QStringLiteral("Atacado 100.00, Categoria apagada 5.00, Compra 10.00, "
            "Drogaria 30.00, Estorno -10.00, Mais antigo 7.00, Padaria 15.50, Sem categoria 8.00"));
        QCOMPARE(categorias.join(", "), QStringLiteral("Não Classificado, Farmácia, Mercado"));
    }
};

QTEST_MAIN(TstJanelas)
#include "tst_janelas.moc"
