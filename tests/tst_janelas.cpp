#include "database/tabelaconsulta.h"
#include "import/importarcsv.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QScrollBar>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

#include <sys/stat.h>

namespace {

QStringList preencher(QTableWidget &grade, const QString &sql)
{
    QSqlQuery consulta(sql);
    preencheTabelaComConsulta({"A", "B"}, &consulta, &grade);
    return linhasDaGrade(&grade);
}

QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>(); }

bool carregar(ImportarCSV &d, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, caminho), Q_ARG(QTableWidget *, grade(&d)));
    return lido;
}

} // namespace

// The windows over scratch tables: the shared query grid, the import dialog, the report and
// its detail windows.
class TstJanelas : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("janelas")};
    QSqlDatabase padrao = QSqlDatabase::database();
    QTemporaryDir pasta;

    QString extrato(const QByteArray &conteudo) { return gravarExtrato(pasta.path(), conteudo); }

private slots:
    void init() { QVERIFY2(banco.esvaziar(), qPrintable(banco.erro())); }

    void ordenacao_data()
    {
        QTest::addColumn<QString>("valores");
        QTest::addColumn<QStringList>("ordenados");
        QTest::newRow("decimal") << "CAST(100 AS DECIMAL(13,2)), -2, 20.5, NULL"
                                 << QStringList {"-2.00", "0.00", "20.50", "100.00"};
        QTest::newRow("inteiro") << "9, 100, 30, -1" << QStringList {"-1", "9", "30", "100"};
        // As DATE_FORMAT(data, '%d/%m/%y') writes them: years 70 to 99 are 19xx, 00 to 69 20xx.
        QTest::newRow("data dd/mm/aa") << "'31/12/69', '10/01/25', '01/01/70', '02/01/25', '31/12/24', "
                                          "'15/06/99', '02/01/00'"
            << QStringList {"01/01/70", "15/06/99", "02/01/00", "31/12/24", "02/01/25", "10/01/25", "31/12/69"};
        QTest::newRow("texto") << "'banco', 'Zeta', 'Açougue'" << QStringList {"Açougue", "Zeta", "banco"};
    }

    // Sorted by the user, then refilled: still sorted, each record still one row.
    void ordenacao()
    {
        QFETCH(QString, valores);
        QFETCH(QStringList, ordenados);
        QStringList selects;
        for (const QString &valor : valores.split(QStringLiteral(", ")))
            selects << QStringLiteral("SELECT %1, 'registro %2'").arg(valor).arg(selects.size());
        const QString sql = selects.join(QStringLiteral(" UNION ALL "));
        QTableWidget t;
        const QStringList registros = preencher(t, sql);
        t.setSortingEnabled(true);
        t.sortByColumn(0, Qt::AscendingOrder);
        for (const QStringList &linhas : {linhasDaGrade(&t), preencher(t, sql)}) {
            QStringList coluna;
            for (const QString &linha : linhas)
                coluna << linha.section('|', 0, 0);
            QCOMPARE(coluna, ordenados);
            QCOMPARE(QSet<QString>(linhas.begin(), linhas.end()),
                     QSet<QString>(registros.begin(), registros.end()));
        }
    }

    void linhasDimensionadasAoEntrarNaVista_data()
    {
        QTest::addColumn<bool>("visivelAoPreencher");
        QTest::newRow("preenchida oculta") << false;
        QTest::newRow("preenchida à vista") << true;
    }

    // Rows are sized to their contents only as they come into view: sorting, scrolling or a
    // taller view must leave the rows in view as tall as their contents (the stretched last
    // row aside). Every third supplier wraps.
    void linhasDimensionadasAoEntrarNaVista()
    {
        QFETCH(bool, visivelAoPreencher);
        QTableWidget t, referencia;
        for (QTableWidget *g : {&t, &referencia}) {
            g->resize(400, 300);
            g->setVisible(visivelAoPreencher || g == &referencia);
            preencher(*g, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                          "SELECT i, IF(i % 3, 'Uber', 'Supermercado Pão de Açúcar Matriz') FROM n");
            g->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        const QList<std::function<void(QTableWidget *)>> mudancas {
            [](QTableWidget *) {},
            [](QTableWidget *g) { g->setSortingEnabled(true); g->sortByColumn(1, Qt::AscendingOrder); },
            [](QTableWidget *g) { g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum() / 2); },
            [](QTableWidget *g) { g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum()); },
            [](QTableWidget *g) { g->resize(400, 700); }};
        const auto malDimensionadas = [&] {
            QList<int> linhas;
            const int ultima = qMin(t.rowAt(t.viewport()->height() - 1), t.rowCount() - 2);
            for (int linha = t.rowAt(0); linha >= 0 && linha <= ultima; ++linha)
                if (t.rowHeight(linha) != referencia.rowHeight(linha))
                    linhas << linha;
            return linhas;
        };
        for (const auto &mudar : mudancas) {
            mudar(&t);
            mudar(&referencia);
            referencia.resizeRowsToContents();
            QTRY_COMPARE(malDimensionadas(), QList<int>());
        }
    }
    void leitura_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QStringList>("lidas");
        const QByteArray linha("1;A;2;x");
        const QByteArray acucar("1;P\xE3o de A\xE7\xFA" "car;2;Caf\xE9\r\n"); // Windows-1252
        const QString utf16 = QChar(0xFEFF) + QString::fromLatin1(acucar);
        const QStringList lida {"1|Pão de Açúcar|2|Café"};
        QTest::newRow("vazio") << QByteArray() << QStringList();
        QTest::newRow("aspas e espaços") << QByteArray(R"(  "05/03/2024" ; " Bar do Zé " ;"R$ 5,00";  )")
                                         << QStringList {"05/03/2024| Bar do Zé |R$ 5,00|"};
        QTest::newRow("vermelha da linha em branco em diante")
            << linha + "\n\n" + linha << QStringList {"1|A|2|x", "*|-|-|-", "*1|A|2|x"};
        QTest::newRow("ponto e vírgula entre aspas") << R"("a;b";c;d;e)" "\n" + linha
                                                     << QStringList {"*a|b|c|d", "*1|A|2|x"};
        QTest::newRow("linha enorme") << QByteArray(400 * 1024, 'y')
                                      << QStringList {"*" + QString(400 * 1024, 'y') + "|-|-|-"};
        QTest::newRow("binário com NUL") << QByteArray("\0\xFF\0;\x80", 5)
            << QStringList {QString::fromUtf8("*\0\xC3\xBF\0|\xE2\x82\xAC|-|-", 13)};
        QTest::newRow("Windows-1252") << acucar << lida;
        QTest::newRow("UTF-8") << QString::fromLatin1(acucar).toUtf8() << lida;
        QTest::newRow("UTF-8 com BOM") << "\xEF\xBB\xBF" + QString::fromLatin1(acucar).toUtf8() << lida;
        QTest::newRow("UTF-16 com BOM")
            << QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2) << lida;
    }

    // Each file goes in above the rows already there, red from its first line without four
    // fields on.
    void leitura()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(QStringList, lidas);
        ImportarCSV d;
        QVERIFY(carregar(d, extrato("0;Z;0;z")));
        QCOMPARE(carregar(d, extrato(conteudo)), lidas.filter(QRegularExpression("^\\*")).isEmpty());
        QCOMPARE(linhasDaGrade(grade(&d)), lidas << "0|Z|0|z");
    }

    // "Ler CSV" with no file chosen, or with a pipe (which would block), says so; so does a
    // device, which never ends. A double-click asks before removing its row: "No" keeps it.
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
        for (auto botao : {QMessageBox::No, QMessageBox::Yes}) {
            resposta.responder(botao);
            const QPoint centro = grade(&d)->visualRect(grade(&d)->model()->index(1, 1)).center();
            QTest::mouseClick(grade(&d)->viewport(), Qt::LeftButton, {}, centro);
            QTest::mouseDClick(grade(&d)->viewport(), Qt::LeftButton, {}, centro);
            QCOMPARE(linhasDaGrade(grade(&d)).join(' '), botao == QMessageBox::No ? "1|A|1|a 2|B|2|b 3|C|3|c"
                                                                                  : "1|A|1|a 3|C|3|c");
        }
        const QString pergunta = QStringLiteral("Você deseja remover a linha selecionada?");
        QCOMPARE(resposta.vistas().filter(QRegularExpression("^[^Q]")), QStringList({
            "Você não escolheu um arquivo", "Erro de leitura no arquivo", pergunta, pergunta}));
    }
    void importacaoQueNaoGrava_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<int>("recusada");
        QTest::addColumn<QString>("diagnostico");
        const QByteArray boa("01/03/2026;A;1,00;a\n"), depois("\n04/03/2026;D;4;d\n");
        QTest::newRow("grade vazia fecha") << QByteArray() << -1 << QString();
        for (const char *handle : {"inválido", "fechado", "nenhum"})
            QTest::newRow(handle) << boa << -1 << "^Erro ao iniciar a transação: \"";
        QTest::newRow("data inválida vira NULL") << boa + "31/02/2026;B;2,00;b" + depois << 1
                                                 << "^Erro ao inserir dados: \".*(?i)null";
        QTest::newRow("valor que não é número, fora da vista")
            << boa.repeated(150) + "03/03/2026;C;r$ 5,00;c" + depois << 150
            << "^Erro ao inserir dados: \".*(?i)valor";
    }

    // Nothing stays: the grid is empty, the transaction cannot begin, or a row is refused, which
    // is selected and brought into view once the error box closes.
    void importacaoQueNaoGrava()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(int, recusada);
        QFETCH(QString, diagnostico);
        const QByteArray handle = QTest::currentDataTag(); // the one the main window lends
        QSqlDatabase fechado = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), handle);
        QSqlDatabase emprestado = handle == "fechado" ? fechado : handle.contains("lido") ? QSqlDatabase() : padrao;
        ImportarCSV d;
        if (handle != "nenhum")
            d.setupData(&emprestado);
        d.show();
        carregar(d, extrato(conteudo));
        if (!diagnostico.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(diagnostico));
        RespostaModal resposta;
        int selecionadasNaCaixa = -1;
        resposta.aoAbrir([&](QWidget *caixa) {
            selecionadasNaCaixa = grade(&d)->selectedItems().size();
            caixa->close();
        });
        clicar(&d, "pushButton_importar");
        const bool falhou = !conteudo.isEmpty();
        QCOMPARE(resposta.vistas().join(""), QString(falhou ? "Erro ao importar arquivo" : ""));
        QCOMPARE(selecionadasNaCaixa, falhou ? 0 : -1);
        QCOMPARE(d.isVisible(), falhou);
        QSqlQuery naSessao(QStringLiteral("SELECT COUNT(*) FROM gastos")); // sees its own uncommitted rows
        QVERIFY(naSessao.next() && naSessao.value(0) == 0);
        const QModelIndex indice = grade(&d)->model()->index(recusada, 0);
        QCOMPARE(grade(&d)->selectionModel()->selectedRows(), indice.isValid() ? QModelIndexList {indice}
                                                                                : QModelIndexList());
        QCOMPARE(grade(&d)->viewport()->rect().contains(grade(&d)->visualRect(indice)), indice.isValid());
    }

    void textoGuardadoExato_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::newRow("injeção, aspas e curingas") << R"(x'); DROP TABLE gastos; -- "q" `c` 100%_off)";
        QTest::newRow("barras invertidas") << R"(C:\temp\' \\ \0 \n \%)";
        QTest::newRow("NUL") << QString::fromUtf8("a\0b\0", 4);
        QTest::newRow("controles, combinantes e direção")
            << QString::fromUtf8("tab\tesc\x1b[31mbell\a e\xCC\x81 \xE2\x80\xAE" "abc\xE2\x80\xAC \xEF\xBB\xBF");
        QTest::newRow("emoji") << QStringLiteral("Lazer 🎉 💸");
    }

    // Typed into the grid as supplier and description: stored to the byte, never run as SQL.
    void textoGuardadoExato()
    {
        QFETCH(QString, texto);
        ImportarCSV d;
        d.setupData(&padrao);
        QVERIFY(carregar(d, extrato("05/03/2026;F;1,00;D\n")));
        grade(&d)->item(0, 1)->setText(texto);
        grade(&d)->item(0, 3)->setText(texto);
        clicar(&d, "pushButton_importar");
        QCOMPARE(banco.valor("SELECT CONCAT(fornecedor, '|', descricao) FROM gastos").toString(),
                 texto + '|' + texto);
    }

    // Key and name cells only warn. Each sum (a cancelling 0.00 too) is the total of the rows its
    // window lists, all of its column's month; a sum without rows warns and leaves an empty
    // window. Every expense of the twelve months, from the first day of the oldest, is listed
    // once; a category without them has no row.
    void cadaSomaDoRelatorioEhOTotalDaSuaJanela()
    {
        for (const char *nome : {"Mercado", "Farmácia", "Apagada", "Antiga"})
            QVERIFY(banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {QString::fromUtf8(nome)}));
        for (const QStringList &g : QList<QStringList> {
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
                 {"Apagada antes", "CURDATE() - INTERVAL 2 MONTH", "5.00", "Apagada"}})
            QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, idCategoria) "
                "SELECT %1, ?, ?, (SELECT idCategoria FROM categoria WHERE categoria = ?)").arg(g[1]),
                {g[0], g[2], g[3]}));
        QVERIFY(banco.executa("DELETE FROM categoria WHERE categoria = 'Apagada'"));
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
                QCOMPARE(resposta.vistas().join(""), QString(coluna < 2 ? "Clique numa coluna com valores"
                                                    : detalhe.isEmpty() ? "Não foram encontrados dados" : ""));
                double total = 0;
                for (const QString &gasto : detalhe) {
                    QCOMPARE(gasto.left(7), QDate::fromString(mes, "MM/yyyy").toString("yyyy-MM"));
                    listados << gasto.section('|', 1, 1) + ' ' + gasto.section('|', 3);
                    total += gasto.section('|', 3).toDouble();
                }
                QCOMPARE(coluna < 2 ? !janela : QString::number(total, 'f', 2) == t->item(linha, coluna)->text(),
                         true);
            }
        }
        listados.sort();
        QCOMPARE(listados, QStringList({"Apagada antes 5.00", "Atacado 100.00", "Categoria apagada 2.00",
            "Compra 10.00", "Drogaria 30.00", "Estorno -10.00", "Feira 4.25", "Mais antigo 7.00",
            "Padaria 15.50", "Sem categoria 8.00"}));
        QCOMPARE(categorias, QStringList({"Não Classificado", "Farmácia", "Mercado"}));
    }
};

QTEST_MAIN(TstJanelas)
#include "tst_janelas.moc"
