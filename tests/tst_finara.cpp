#include "app/finara.h"
#include "database/tabelaconsulta.h"
#include "import/importarcsv.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

#include <sys/stat.h>

namespace {

QTableWidget *grade(QWidget *janela) { return janela->findChild<QTableWidget *>(); }

bool carregar(QWidget *importacao, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(importacao, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, caminho), Q_ARG(QTableWidget *, grade(importacao)));
    return lido;
}

// Stored byte for byte and never run as SQL, whichever window it is typed or imported into.
const QString hostil = QStringLiteral("x') OR 1=1 -- `c` \\' \\\\ 100%_ ") + QChar(0) + QStringLiteral(" \u202E 🎉");

// What percorrerJanelas sees without a server or a connection.
const QStringList foraDoAr {
    "Erro na leitura do banco de dados, Categoria, Erro ao inserir item: 0 categorias, 0 gastos",
    "Erro na leitura do Banco de Dados, AnaliseDados, Erro na leitura do Banco de Dados, "
    "Nenhuma categoria selecionada.: 0 listados, 0 gastos",
    "Relatorios: 0 linhas, 0 gastos", "ImportarCSV, Erro ao importar arquivo: aberta, 0 gastos"};

} // namespace

// Beside a throwaway server of its own. First the query grid, the import dialog and the report
// on scratch tables; then, through the main window, whose "Conectar" reaches the server with the
// built-in parameters, the application user's rights, and the server going away in the middle
// of an import, every window reporting it, and "Conectar" bringing every window back.
class TstFinara : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("finara")};
    QTemporaryDir pasta;
    Finara w;

    QString extrato(const QByteArray &conteudo) { return gravarExtrato(pasta.path(), conteudo); }
    QString extratoHostil(int linhas)
    {
        return extrato(("05/03/2025;" + hostil + ";R$ 1.234,45;" + hostil + "\n").toUtf8().repeated(linhas));
    }
    int gastos() const { return banco.valor("SELECT COUNT(*) FROM vestara_gastos.gastos").toInt(); }

    // "Conectar BD" and "Conectar": the status the dialog shows.
    QString conectar()
    {
        QString status;
        RespostaModal resposta;
        resposta.aoAbrir([&](QWidget *d) {
            clicar(d, "pushButton_bd");
            status = d->findChild<QLabel *>("label_status")->text();
            d->close();
        });
        clicar(&w, "pushButton_conectarBD");
        return status;
    }

    // One use of every window: the windows and boxes seen, what it shows, the expenses it adds.
    QStringList percorrerJanelas()
    {
        QStringList transcricao;
        const auto usar = [&](const char *botao, const std::function<QString(QWidget *)> &acao) {
            const int antes = gastos();
            RespostaModal resposta;
            QString resultado;
            // A box before the dialog itself (a failed first listing) is only closed.
            RespostaModal::Acao noDialogo = [&](QWidget *janela) {
                if (qobject_cast<QMessageBox *>(janela))
                    resposta.aoAbrir(noDialogo);
                else
                    resultado = acao(janela);
                janela->close();
            };
            resposta.aoAbrir(noDialogo);
            clicar(&w, botao);
            const QString vistas = resposta.vistas().join(", ");
            transcricao << QStringLiteral("%1: %2, %3 gastos").arg(vistas, resultado).arg(gastos() - antes);
        };
        const auto linhas = [](QWidget *d, const char *nome) {
            return d->findChild<QAbstractItemView *>(nome)->model()->rowCount();
        };
        usar("pushButton_categoria", [&](QWidget *d) {
            d->findChild<QLineEdit *>()->setText(hostil);
            clicar(d, "pushButton_inserir");
            return QStringLiteral("%1 categorias").arg(linhas(d, "tableView_categoria"));
        });
        usar("pushButton", [&](QWidget *d) { // every expense listed, classified as the first category
            clicar(d, "pushButton_filtro");
            d->findChild<QAbstractItemView *>("tableWidget_dados")->selectAll();
            d->findChild<QAbstractItemView *>("tableView_categoria")->selectAll();
            clicar(d, "pushButton_classificar");
            return QStringLiteral("%1 listados").arg(linhas(d, "tableWidget_dados"));
        });
        usar("pushButton_analisar", [&](QWidget *d) {
            return QStringLiteral("%1 linhas").arg(linhas(d, "tableWidget_relatorio"));
        });
        usar("pushButton_importarCSV", [&](QWidget *d) {
            carregar(d, extratoHostil(3));
            clicar(d, "pushButton_importar");
            return QString(d->isVisible() ? "aberta" : "fechada");
        });
        return transcricao;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(banco.pronto() && !qEnvironmentVariableIsEmpty("FINARA_SERVIDOR_ISOLADO"),
                 "run by servidor-isolado.sh");
        QVERIFY(banco.executa("INSERT INTO vestara_gastos.gastos (data, valor, fornecedor) VALUES "
                              "(CURDATE(), 1, 'Loja')"));
    }

    void init() { QVERIFY(banco.esvaziar()); }

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

    // Sorted by the user, then refilled: sorted by value, each record still one row.
    void ordenacao()
    {
        QFETCH(QString, valores);
        QFETCH(QString, ordenados);
        QStringList selects;
        for (const QString &valor : valores.split(QStringLiteral(", ")))
            selects << QStringLiteral("SELECT %1, 'registro %2'").arg(valor).arg(selects.size());
        const QString sql = selects.join(QStringLiteral(" UNION ALL "));
        QTableWidget t;
        QSqlQuery consulta(sql);
        preencheTabelaComConsulta({"A", "B"}, &consulta, &t);
        const QStringList registros = linhasDaGrade(&t);
        t.setSortingEnabled(true);
        t.sortByColumn(0, Qt::AscendingOrder);
        QVERIFY(consulta.exec(sql));
        preencheTabelaComConsulta({"A", "B"}, &consulta, &t);
        QStringList linhas = linhasDaGrade(&t);
        QCOMPARE(QSet<QString>(linhas.begin(), linhas.end()), QSet<QString>(registros.begin(), registros.end()));
        QCOMPARE(linhas.replaceInStrings(QRegularExpression("\\|.*"), "").join(' '), ordenados);
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
        QVERIFY(!carregar(&d, QStringLiteral("/dev/zero")));
        const QPoint centro = grade(&d)->visualRect(grade(&d)->model()->index(1, 1)).center();
        for (auto botao : {QMessageBox::No, QMessageBox::Yes}) {
            resposta.responder(botao);
            QTest::mouseClick(grade(&d)->viewport(), Qt::LeftButton, {}, centro);
            QTest::mouseDClick(grade(&d)->viewport(), Qt::LeftButton, {}, centro);
            QCOMPARE(linhasDaGrade(grade(&d)).join(' '),
                     QString(botao == QMessageBox::No ? "1|A|1|a 2|B|2|b 3|C|3|c" : "1|A|1|a 3|C|3|c"));
        }
        QVERIFY(!carregar(&d, extrato("9;X;9\n8;Caf\xE9;8;y"))); // Windows-1252
        QCOMPARE(linhasDaGrade(grade(&d)).join(' '), QString("*9|X|9|- *8|Café|8|y 1|A|1|a 3|C|3|c"));
        const QString pergunta = QStringLiteral("Você deseja remover a linha selecionada?");
        QCOMPARE(resposta.vistas().filter(QRegularExpression("^[^Q]")), QStringList({
            "Você não escolheu um arquivo", "Erro de leitura no arquivo", pergunta, pergunta}));
    }

    // The import is rolled back, and the refused row, beyond the view, is selected and brought
    // into view once the error box closes.
    void linhaRecusadaNaoDeixaNada()
    {
        QSqlDatabase padrao = QSqlDatabase::database();
        ImportarCSV d;
        d.setupData(&padrao);
        d.show();
        const QByteArray boa("01/03/2026;A;1,00;a\n");
        carregar(&d, extrato(boa.repeated(150) + "03/03/2026;C;r$ 5,00;c\n" + boa));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao inserir dados: \".*valor"));
        RespostaModal resposta;
        clicar(&d, "pushButton_importar");
        QCOMPARE(resposta.vistas(), QStringList {"Erro ao importar arquivo"});
        QSqlQuery naSessao(QStringLiteral("SELECT COUNT(*) FROM gastos")); // sees its uncommitted rows
        QVERIFY(naSessao.next() && naSessao.value(0) == 0);
        const QModelIndex recusada = grade(&d)->model()->index(150, 0);
        QCOMPARE(grade(&d)->selectionModel()->selectedRows(), QModelIndexList {recusada});
        QVERIFY(grade(&d)->viewport()->rect().contains(grade(&d)->visualRect(recusada)));
    }

    // Key and name cells only warn. Each sum is the total of the rows its window lists, all of
    // its column's month, and a sum without rows warns. Every expense from the first day of the
    // oldest month on is listed once; one before has no row. Category 3 is deleted.
    void cadaSomaDoRelatorioEhOTotalDaSuaJanela()
    {
        QVERIFY(banco.executa("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Farmácia'), (4, 'Antiga')"));
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, idCategoria) SELECT IF(seq % 2, "
            "LAST_DAY(CURDATE() - INTERVAL seq MONTH), DATE_FORMAT(CURDATE() - INTERVAL seq MONTH, '%Y-%m-01')), "
            "CONCAT('g', seq), seq + 0.25, IF(seq = 13, 4, NULLIF(seq % 4, 0)) FROM seq_0_to_13"));
        Relatorios r;
        QTableWidget *t = grade(&r);
        QStringList listados, esperados, categorias;
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
        for (int mes = 0; mes <= 12; ++mes)
            esperados << QStringLiteral("g%1 %1.25").arg(mes);
        listados.sort();
        esperados.sort();
        QCOMPARE(listados.join(", "), esperados.join(", "));
        QCOMPARE(categorias.join(", "), QStringLiteral("Não Classificado, Farmácia, Mercado"));
    }

    // As the application's user, talking utf8mb4, with exactly the rights to read and write the
    // rows of its own database.
    void conexao()
    {
        QCOMPARE(conectar(), QStringLiteral("Banco de dados conectado"));
        QSqlQuery q(QStringLiteral("SELECT CONCAT_WS(' ', DATABASE(), CURRENT_USER(), @@character_set_client)"));
        QStringList visto {q.next() ? q.value(0).toString() : QString()};
        for (q.exec(QStringLiteral("SHOW GRANTS")); q.next();)
            visto << q.value(0).toString().section(QStringLiteral(" TO "), 0, 0);
        QCOMPARE(visto, QStringList({"vestara_gastos vestara_tilmo@localhost utf8mb4", "GRANT USAGE ON *.*",
                                     "GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.*"}));
    }

    // Killed once the import's transaction holds rows: the import says so and keeps nothing,
    // every window reports its failure, again after a refused "Conectar" (its reason logged),
    // and all work again once the server is back and "Conectar" has been pressed.
    void servidorCaiNoMeioDaImportacao()
    {
        const int antes = gastos();
        QProcess vigia;
        RespostaModal *resposta = new RespostaModal;
        resposta->aoAbrir([&](QWidget *d) {
            carregar(d, extratoHostil(50000));
            vigia.start("timeout", {"60", "sh", "-c", "until [ \"$(mariadb --no-defaults --socket=\"$0\" "
                "-uroot -N -e 'SELECT COALESCE(SUM(trx_rows_modified), 0) FROM "
                "information_schema.innodb_trx')\" -gt 0 ] 2>/dev/null; do :; done; "
                "exec \"$FINARA_SERVIDOR_ISOLADO\" kill", qEnvironmentVariable("FINARA_DB_SOCKET")});
            clicar(d, "pushButton_importar");
            d->close();
        });
        clicar(&w, "pushButton_importarCSV");
        QVERIFY2(vigia.waitForFinished(60000) && vigia.exitCode() == 0, "no kill during the import");
        QCOMPARE(resposta->vistas(), QStringList({"ImportarCSV", "Erro ao importar arquivo"}));
        delete resposta;
        QCOMPARE(percorrerJanelas(), foraDoAr);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao abrir o banco de dados: \".*connect"));
        QCOMPARE(conectar(), QStringLiteral("Erro ao conectar Banco de dados"));
        QCOMPARE(percorrerJanelas(), foraDoAr);

        QVERIFY(QProcess::execute(qEnvironmentVariable("FINARA_SERVIDOR_ISOLADO"), {"start"}) == 0);
        banco.admin().close();
        QVERIFY(banco.admin().open() && banco.executa("SET NAMES utf8mb4") && gastos() == antes);
        QCOMPARE(conectar(), QStringLiteral("Banco de dados conectado"));
        QCOMPARE(percorrerJanelas(), QStringList({"Categoria: 1 categorias, 0 gastos",
            "AnaliseDados: 1 listados, 0 gastos", "Relatorios: 1 linhas, 0 gastos",
            "ImportarCSV: fechada, 3 gastos"}));
        QCOMPARE(banco.valor("SELECT CONCAT((SELECT GROUP_CONCAT(categoria, fornecedor) FROM vestara_gastos.gastos "
                             "JOIN vestara_gastos.categoria USING (idCategoria)), (SELECT GROUP_CONCAT("
                             "DISTINCT fornecedor, descricao) FROM vestara_gastos.gastos WHERE valor > 1))")
                     .toString(), hostil + "Loja" + hostil + hostil);
    }
};

QTEST_MAIN(TstFinara)
#include "tst_finara.moc"
