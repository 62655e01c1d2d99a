#include "app/finara.h"
#include "database/tabelaconsulta.h"
#include "import/importarcsv.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QSqlQuery>
#include <QTableWidget>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>

namespace {

QTableWidget *grade(QWidget *janela) { return janela->findChild<QTableWidget *>(); }

bool ler(QWidget *importacao, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(importacao, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, caminho), Q_ARG(QTableWidget *, grade(importacao)));
    return lido;
}

// Stored byte for byte and never run as SQL.
const QString hostil = QStringLiteral("x') OR 1=1 -- `c` \\' \\\\ 100%_ ") + QChar(0) + "\u202E 🎉";

} // namespace

// Beside a throwaway server of its own: first the conversions, the query grid, the import dialog
// and the report on scratch tables; then the main window, whose "Conectar" reaches the server.
class TstFinara : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("finara")};
    QTemporaryDir pasta;
    Finara w;

    QString extrato(const QByteArray &conteudo) { return gravarExtrato(pasta.path(), conteudo); }
    QString extratoHostil(int linhas)
    {
        return extrato(QString("05/03/2025;%1;R$ 1,50;%1\n").arg(hostil).toUtf8().repeated(linhas));
    }
    int gastos() const { return banco.valor("SELECT COUNT(*) FROM vestara_gastos.gastos").toInt(); }

    bool conectar()
    {
        RespostaModal resposta;
        resposta.aoAbrir([](QWidget *d) {
            clicar(d, "pushButton_bd");
            d->close();
        });
        clicar(&w, "pushButton_conectarBD");
        return w.baseDeDados().isOpen();
    }

    // The boxes and windows seen as every window of the main window opens and is closed.
    QStringList abrirJanelas()
    {
        RespostaModal resposta;
        resposta.sempre(QMessageBox::Ok);
        for (const char *botao : {"pushButton_categoria", "pushButton", "pushButton_analisar",
                                  "pushButton_importarCSV"})
            clicar(&w, botao);
        return resposta.vistas();
    }

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }

    void ordenacao_data()
    {
        QTest::addColumn<QString>("valores");
        QTest::addColumn<QString>("ordenados"); // each with its record's letter, a to z as given
        QTest::newRow("decimal") << "CAST(9 AS DECIMAL(13,2)), -2, 20.5, NULL"
                                 << "-2.00b 0.00d 9.00a 20.50c";
        QTest::newRow("inteiro") << "9, 100, -1" << "-1c 9a 100b";
        // As DATE_FORMAT(data, '%d/%m/%y') writes them: years 70 to 99 are 19xx, 00 to 69 20xx.
        QTest::newRow("data dd/mm/aa")
            << "'31/12/69', '10/01/25', '01/01/70', '05/02/25', '02/01/00'"
            << "01/01/70c 02/01/00e 10/01/25b 05/02/25d 31/12/69a";
    }

    // Sorted by the user, then refilled: sorted by value, each record still one row.
    void ordenacao()
    {
        QFETCH(QString, valores);
        QFETCH(QString, ordenados);
        QStringList selects;
        for (const QString &valor : valores.split(QStringLiteral(", ")))
            selects << QStringLiteral("SELECT %1, '%2'").arg(valor, QChar('a' + selects.size()));
        QTableWidget t;
        for (int vez = 0; vez < 2; ++vez) {
            t.setSortingEnabled(true); // on an empty grid, then on a full one as a header click
            t.sortByColumn(0, Qt::AscendingOrder);
            QSqlQuery consulta(selects.join(QStringLiteral(" UNION ALL ")));
            preencheTabelaComConsulta({"A", "B"}, &consulta, &t);
        }
        QCOMPARE(linhasDaGrade(&t).join(' ').remove('|'), ordenados);
    }

    // A pipe or a device is not read (it would block or never end); a double-click asks before
    // removing its row; a file goes in above the rows there, red from its first short line on.
    void arquivosERemocao()
    {
        const QString fifo = pasta.filePath(QStringLiteral("fifo.csv"));
        ImportarCSV d;
        d.show();
        QTableWidget *t = grade(&d);
        RespostaModal resposta;
        const QString texto = QStringLiteral("1;A;1;a\n2;B;2;b\n3;C;3;c\n"); // as UTF-16, with BOM
        resposta.escolherArquivo(extrato(QTextCodec::codecForName("UTF-16")->fromUnicode(texto)));
        clicar(&d, "pushButton_lercsv");
        QVERIFY(!mkfifo(qPrintable(fifo), 0600) && !ler(&d, fifo) && !ler(&d, "/dev/zero"));
        const QPoint centro = t->visualRect(t->model()->index(1, 1)).center();
        for (const auto &[botao, resto] : {std::pair(QMessageBox::No, "1|A|1|a 2|B|2|b 3|C|3|c"),
                                           std::pair(QMessageBox::Yes, "1|A|1|a 3|C|3|c")}) {
            resposta.responder(botao);
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro);
            QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, centro);
            QCOMPARE(linhasDaGrade(t).join(' '), QString(resto));
        }
        QVERIFY(!ler(&d, extrato("9;X;9\n8;Caf\xE9;8;y"))); // Windows-1252
        QCOMPARE(linhasDaGrade(t).join(' '), QString("*9|X|9|- *8|Café|8|y 1|A|1|a 3|C|3|c"));
    }

    // Rolled back, and the row the server refused, beyond the view, selected and brought into view.
    void linhaRecusadaNaoDeixaNada()
    {
        QSqlDatabase padrao = QSqlDatabase::database();
        ImportarCSV d;
        d.setupData(&padrao);
        d.show();
        const QByteArray boas = QByteArray("01/03/2026;A;1;a\n").repeated(150);
        ler(&d, extrato(boas + "03/03/2026;" + QByteArray(256, 'C') + ";5;c"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao inserir dados: \".*fornecedor"));
        RespostaModal resposta;
        clicar(&d, "pushButton_importar");
        QCOMPARE(resposta.vistas(), QStringList {"Erro ao importar arquivo"});
        QSqlQuery naSessao("SELECT COUNT(*) FROM gastos"); // its uncommitted rows too
        QVERIFY(naSessao.next() && naSessao.value(0) == 0);
        const QModelIndex recusada = grade(&d)->model()->index(150, 0);
        QCOMPARE(grade(&d)->selectionModel()->selectedRows(), QModelIndexList {recusada});
        QVERIFY(grade(&d)->viewport()->rect().contains(grade(&d)->visualRect(recusada)));
    }

    // Each sum is the total of its window's rows, all of its column's month; every expense from
    // the first day of the oldest month on is listed once, one before in no row.
    void cadaSomaDoRelatorioEhOTotalDaSuaJanela()
    {
        QVERIFY(banco.executa("INSERT INTO categoria VALUES (1, 'Casa'), (2, 'Bar'), (4, 'Fim')"));
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, idCategoria) SELECT "
            "IF(seq % 2, LAST_DAY(CURDATE() - INTERVAL seq MONTH), DATE_FORMAT(CURDATE() - "
            "INTERVAL seq MONTH, '%Y-%m-01')), seq, seq, IF(seq = 13, 4, NULLIF(seq % 4, 0)) "
            "FROM seq_0_to_13"));
        Relatorios r;
        QTableWidget *t = grade(&r);
        QList<int> listados;
        QStringList categorias;
        for (int linha = 0; linha < t->rowCount(); ++linha) {
            categorias << t->item(linha, 1)->text();
            for (int coluna = 0; coluna < t->columnCount(); ++coluna) {
                RespostaModal resposta;
                const QModelIndex celula = t->model()->index(linha, coluna);
                emit t->doubleClicked(celula);
                QScopedPointer<JanelaDetalhe> janela(r.findChild<JanelaDetalhe *>());
                const auto detalhe = janela ? linhasDaGrade(grade(janela.data())) : QStringList();
                const bool semValores = coluna < 2 || coluna > 14; // key, name, budget
                const char *aviso = semValores ? "Clique numa coluna com valores"
                                  : detalhe.isEmpty() ? "Não foram encontrados dados" : "";
                QCOMPARE(resposta.vistas().join(""), QString(aviso));
                const QString mes = QDate::currentDate().addMonths(2 - coluna).toString("yyyy-MM");
                double total = 0;
                for (const QString &gasto : detalhe) {
                    QCOMPARE(gasto.left(7), mes);
                    listados << gasto.section('|', 1, 1).toInt();
                    total += gasto.section('|', 3).toDouble();
                }
                QVERIFY(semValores || QString::number(total, 'f', 2) == celula.data());
            }
        }
        std::sort(listados.begin(), listados.end());
        QCOMPARE(listados, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(categorias.join(", "), QStringLiteral("Não Classificado, Bar, Casa"));
    }

    // With the application user's exact rights; the server killed once the import's transaction
    // holds rows: nothing kept, every window failing until the server and "Conectar" are back.
    void servidorCaiNoMeioDaImportacao()
    {
        QVERIFY(conectar());
        QStringList concessoes;
        for (QSqlQuery q(QStringLiteral("SHOW GRANTS")); q.next();)
            concessoes << q.value(0).toString().section(QStringLiteral(" TO "), 0, 0);
        QCOMPARE(concessoes.join(", "), QStringLiteral(
            "GRANT USAGE ON *.*, GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.*"));
        const int antes = gastos();
        QProcess vigia;
        auto *resposta = new RespostaModal;
        resposta->aoAbrir([&](QWidget *d) {
            ler(d, extratoHostil(50000));
            vigia.start("timeout", {"60", "sh", "-c", "until [ \"$(mariadb --no-defaults -S \"$0\" "
                "-uroot -Ne 'SELECT SUM(trx_rows_modified) FROM information_schema.innodb_trx')\" "
                "-gt 0 ] 2>/dev/null; do sleep 0.2; done; exec \"$FINARA_SERVIDOR_ISOLADO\" kill",
                qEnvironmentVariable("FINARA_DB_SOCKET")});
            clicar(d, "pushButton_importar");
            d->close();
        });
        clicar(&w, "pushButton_importarCSV");
        QVERIFY2(vigia.waitForFinished(60000) && vigia.exitCode() == 0, "not killed in the import");
        QCOMPARE(resposta->vistas(), QStringList({"ImportarCSV", "Erro ao importar arquivo"}));
        delete resposta;
        const QString foraDoAr = QStringLiteral("Erro na leitura do banco de dados, Categoria, "
            "Erro na leitura do Banco de Dados, AnaliseDados, Relatorios, ImportarCSV");
        QCOMPARE(abrirJanelas().join(", "), foraDoAr);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao abrir o banco de dados:"));
        QVERIFY(!conectar());
        QCOMPARE(abrirJanelas().join(", "), foraDoAr);

        QVERIFY(QProcess::execute(qEnvironmentVariable("FINARA_SERVIDOR_ISOLADO"), {"start"}) == 0);
        banco.admin().close();
        QVERIFY(banco.admin().open() && banco.executa("SET NAMES utf8mb4") && gastos() == antes);
        QVERIFY(conectar());
        QCOMPARE(abrirJanelas().join(", "), QStringLiteral(
            "Categoria, Registros não encontrados, AnaliseDados, Relatorios, ImportarCSV"));
        RespostaModal importacao;
        importacao.aoAbrir([&](QWidget *d) {
            ler(d, extratoHostil(3));
            clicar(d, "pushButton_importar");
        });
        clicar(&w, "pushButton_importarCSV");
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(DISTINCT fornecedor, descricao) FROM "
                             "vestara_gastos.gastos").toString(), hostil + hostil);
        QCOMPARE(gastos(), antes + 3);
    }
};

QTEST_MAIN(TstFinara)
#include "tst_finara.moc"
