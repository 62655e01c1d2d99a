#include "app/finara.h"
#include "import/importacoes.h"
#include "import/importarcsv.h"
#include "import/progresso.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

// Repeated rows, imports recorded and undone, the upgrade of an older vestara_gastos (isolated).
class TstImportacoes : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("importacoes")};
    RespostaModal respostas;

    static void clicar(QWidget *w, const char *nome) { w->findChild<QPushButton *>(nome)->click(); }
    static QTableWidget *carregar(QWidget *d, const QString &arquivo)
    {
        QMetaObject::invokeMethod(d, "loadCsvIntoTableWidget", Q_ARG(QString, arquivo),
                                  Q_ARG(QTableWidget *, d->findChild<QTableWidget *>()));
        return d->findChild<QTableWidget *>();
    }
    static RespostaModal::Acao responder(QString *texto, int botao) // keeping the box's texts
    {
        return [=](QWidget *janela) {
            auto *caixa = qobject_cast<QMessageBox *>(janela);
            *texto = caixa->text() + '\n' + caixa->informativeText();
            caixa->button(QMessageBox::StandardButton(botao))->click();
        };
    }

private slots:
    // The import's progress: a bar measured on the whole, and the window beneath held until it ends.
    void progresso()
    {
        QWidget janela;
        {
            Progresso progresso(QStringLiteral("Importando"), &janela);
            auto *barra = janela.findChild<QProgressDialog *>();
            progresso.definirTotal(1000);
            progresso.avancar(500);
            QCOMPARE(barra->maximum(), 1000);
            QCOMPARE(barra->value(), 500);
            QVERIFY(!janela.isEnabled());
        }
        QVERIFY(janela.isEnabled());
    }
    void cleanup() { QVERIFY(banco.executa("DROP TRIGGER IF EXISTS corta")); } // an undo cut short

    void marcaRepetidas_data()
    {
        QTest::addColumn<QString>("noBanco"); // data, fornecedor, valor, idTransacao
        QTest::addColumn<QStringList>("ids"); // the bank's ids the file gave its rows
        QTest::addColumn<QString>("valorDaLinha0"); // typed in once the rows are marked
        QTest::addColumn<QString>("fornecedorDaLinha2");
        QTest::addColumn<QString>("repetidas");
        const QString duas = "('2026-03-05', 'Pão', 10, NULL), ('2026-03-05', 'pao ', 10, NULL)";
        QTest::newRow("três no arquivo, duas no banco") << duas << QStringList() << "10,00" << "" << "01";
        QTest::newRow("edição torna a linha nova") << duas << QStringList() << "10,01" << "" << "12";
        // Weighed by the server, not from the letters: still the file's "PÃO".
        QTest::newRow("letras de largura cheia") << "('2026-03-05', 'ＰÃＯ', 10, NULL)" << QStringList() << "10,00"
                                                 << "" << "0";
        // An id repeats only with its date and amount (and account, when the expense has one).
        QTest::newRow("id noutra data") << "('2026-01-09', 'X', 3, 'F1')" << QStringList {"F1"} << "10,00" << "" << "";
        QTest::newRow("outro id") << "('2026-03-05', 'Pão', 10, 'F1')" << QStringList {"F2"} << "10,00" << "" << "";
        QTest::newRow("id com aspas, tab e barra") << "('2026-03-05', 'X', 10, 'F\"\\t1\\\\')"
                                                   << QStringList {"F\"\t1\\"} << "10,00" << "" << "0";
        // A bank that gives every row one id: a stored row stands for one row, of its supplier.
        const QStringList zeros {"0", "0", "0"};
        QTest::newRow("um id em todas") << "('2026-03-05', 'Banca', 10, '0')" << zeros << "10,00" << "" << "0";
        QTest::newRow("um id em todas, pelo fornecedor") << "('2026-03-05', 'Banca', 10, '0')" << zeros << "10,00"
                                                         << "BANCA" << "2";
    }
    void marcaRepetidas()
    {
        QFETCH(QString, noBanco);
        QFETCH(QStringList, ids);
        QFETCH(QString, valorDaLinha0);
        QFETCH(QString, fornecedorDaLinha2);
        QTemporaryFile extrato;
        QVERIFY(extrato.open() && extrato.write(QByteArray("05/03/2026;PÃO;10,00;\n").repeated(3)));
        extrato.close();
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, idTransacao) VALUES "
                              + noBanco));
        ImportarCSV d;
        QTableWidget *grade = carregar(&d, extrato.fileName());
        for (int linha = 0; linha < ids.size(); ++linha)
            grade->item(linha, 0)->setData(Qt::UserRole, ids.at(linha));
        if (!fornecedorDaLinha2.isEmpty())
            grade->item(2, 1)->setText(fornecedorDaLinha2);
        QCoreApplication::processEvents(); // rows are marked once the edits of one pass end
        grade->item(0, 2)->setText(valorDaLinha0);
        QCoreApplication::processEvents();
        QString cinzas;
        for (int linha = 0; linha < grade->rowCount(); ++linha)
            cinzas += grade->item(linha, 0)->toolTip().isEmpty() ? "" : QString::number(linha);
        QTEST(cinzas, "repetidas");
    }

    // The sample twice beside an expense entered by hand, its last row changed the second time:
    // the notice, the question; then one import undone, keeping or not the rows that the later
    // import left out as repeated, unless the server cuts the undo short.
    void exemploDuasVezes_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QString>("resumo"); // of the last import that wrote
        QTest::addColumn<int>("desfeita");   // in the list: 0 the newest
        QTest::addColumn<int>("aoDesfazer"); // the answer to the undo's question
        QTest::addColumn<QString>("gatilho"); // run on deleting an import record
        QTest::addColumn<int>("gastosAoFim");
        const int sim = QMessageBox::Yes, todas = QMessageBox::YesToAll;
        const QString nada = "SET @nada = 0", so86 = "\n86 gastos[^\n]*$", uma = "\n1 gasto.*\n85 linhas";
        QTest::newRow("só as novas") << sim << uma << 0 << sim << nada << 87;
        QTest::newRow("desfaz a antiga e mantém") << sim << uma << 1 << sim << nada << 87;
        QTest::newRow("desfaz a antiga e apaga") << sim << uma << 1 << todas << nada << 2;
        QTest::newRow("todas") << todas << so86 << 0 << sim << nada << 87;
        QTest::newRow("voltar") << int(QMessageBox::Cancel) << so86 << 0 << sim << nada << 1;
        QTest::newRow("desfazer cortado") << sim << uma << 0 << sim << "SIGNAL SQLSTATE '45000'" << 88;
    }
    void exemploDuasVezes()
    {
        QFETCH(int, resposta);
        QFETCH(QString, resumo);
        QFETCH(int, desfeita);
        QFETCH(int, aoDesfazer);
        QFETCH(QString, gatilho);
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa("INSERT INTO gastos (data, valor) VALUES (NOW(), 1)")); // by hand
        QSqlDatabase padrao = QSqlDatabase::database();
        QString aviso, pergunta, textoDoResumo;
        for (int vez : {0, 1}) {
            ImportarCSV d;
            d.setupData(&padrao);
            QTableWidget *grade = carregar(&d, FINARA_SAMPLES "/extrato-exemplo.csv");
            grade->item(grade->rowCount() - 1, 2)->setText(vez ? "9,99" : "1,00");
            aviso = d.findChild<QLabel *>("label_importado")->text();
            if (vez == 1)
                respostas.aoAbrir(responder(&pergunta, resposta));
            if (vez == 0 || resposta != QMessageBox::Cancel)
                respostas.aoAbrir(responder(&textoDoResumo, QMessageBox::Ok));
            clicar(&d, "pushButton_importar");
        }
        const QString hoje = QDate::currentDate().toString("dd/MM/yyyy");
        QVERIFY2(aviso.startsWith("Este arquivo já foi importado em " + hoje), qPrintable(aviso));
        QVERIFY(pergunta.startsWith("85 linhas já estão no banco de dados ou na grade.\n"));
        QVERIFY2(textoDoResumo.contains(QRegularExpression(resumo)), qPrintable(textoDoResumo));
        QVERIFY(banco.executa("CREATE OR REPLACE TRIGGER corta BEFORE DELETE ON importacao "
                              "FOR EACH ROW " + gatilho));
        Importacoes janela;
        janela.setupData();
        janela.findChild<QTableWidget *>()->selectRow(desfeita);
        respostas.responder(QMessageBox::StandardButton(aoDesfazer));
        clicar(&janela, "pushButton_desfazer");
        QTEST(banco.valor("SELECT COUNT(*) FROM gastos").toInt(), "gastosAoFim");
        // What stays belongs to an import that is still listed, with its count.
        QCOMPARE(banco.valor("SELECT COUNT(*) FROM gastos g LEFT JOIN importacao i USING (idImportacao) "
                             "WHERE g.idImportacao IS NOT NULL AND (i.linhas IS NULL OR i.linhas <> "
                             "(SELECT COUNT(*) FROM gastos o WHERE o.idImportacao = g.idImportacao))").toInt(), 0);
    }

    // A checking statement's income and bill payment, in the next statement too and left out
    // there as repeated: undoing the first import keeps them for the second, or deletes them.
    void desfazEntradas_data()
    {
        QTest::addColumn<int>("aoDesfazer");
        QTest::addColumn<QString>("restam"); // income, transfers and rows of the second import
        QTest::newRow("mantém") << int(QMessageBox::Yes) << "1|1|3";
        QTest::newRow("apaga") << int(QMessageBox::YesToAll) << "0|0|1";
    }
    void desfazEntradas()
    {
        QFETCH(int, aoDesfazer);
        QVERIFY(banco.esvaziar());
        QTemporaryDir pasta;
        const QByteArray nasDuas = "25/01/2026,100.00,b,Transferência recebida pelo Pix - JOAO\n"
                                   "26/01/2026,-300.00,c,Pagamento de fatura\n";
        QSqlDatabase padrao = QSqlDatabase::database();
        respostas.sempre(QMessageBox::Yes); // only the new rows, then the summary
        for (const char *outra : {"24/01/2026,-50.00,a,Compra no débito - PADARIA\n",
                                  "27/01/2026,-20.00,d,Compra no débito - BANCA\n"}) {
            ImportarCSV d;
            d.setupData(&padrao);
            carregar(&d, gravarExtrato(pasta.path(), "Data,Valor,Identificador,Descrição\n" + nasDuas + outra));
            clicar(&d, "pushButton_importar");
        }
        respostas.sempre(QMessageBox::NoButton);
        Importacoes janela;
        janela.setupData();
        janela.findChild<QTableWidget *>()->selectRow(1);
        QString pergunta;
        respostas.aoAbrir(responder(&pergunta, aoDesfazer));
        clicar(&janela, "pushButton_desfazer");
        QVERIFY2(pergunta.contains("2 destes lançamentos"), qPrintable(pergunta));
        QTEST(banco.valor("SELECT CONCAT_WS('|', (SELECT COUNT(*) FROM entrada), (SELECT COUNT(*) FROM transferencia), "
                          "linhas) FROM importacao").toString(), "restam");
    }

    // vestara_gastos as the previous version made it, holding rows, upgraded twice: every row
    // stays and the application's rights stay exactly DML. On connecting, the money in imported
    // from checking accounts as negative expenses is offered once to move to income, never the
    // negatives of a card (refunds) or of our own layout, nor of this version's bank readers; nothing
    // is offered after the first connection, whatever it found.
    void atualizaBancoAnterior_data()
    {
        QTest::addColumn<int>("resposta"); // none: nothing to offer
        QTest::addColumn<QString>("depois"); // after the upgrade, then after the first connection
        QTest::addColumn<QString>("gastos"); // amounts left in gastos
        QTest::addColumn<QString>("entradas");
        const QString gasto = "INSERT INTO vestara_gastos.gastos (data, fornecedor, valor, idImportacao, "
                              "contaExtrato) VALUES ('2026-02-01', 'Pix', %1, 3, %2)";
        QTest::newRow("move") << int(QMessageBox::Yes) << "|" << "12.50,-3.00,-4.00,20.00" << "5.00";
        QTest::newRow("deixa") << int(QMessageBox::No) << "|" << "12.50,-3.00,-4.00,-5.00,20.00" << "";
        QTest::newRow("gasto desta versão fica") << int(QMessageBox::Yes) << gasto.arg("-6", "'OFX 0341/1'") + "|"
                                                 << "12.50,-3.00,-4.00,20.00,-6.00" << "5.00";
        QTest::newRow("nada a oferecer, depois nunca") << int(QMessageBox::NoButton)
            << "UPDATE vestara_gastos.gastos SET valor = 5 WHERE fornecedor = 'Salário'|" + gasto.arg("-7", "NULL")
            << "12.50,-3.00,-4.00,5.00,20.00,-7.00" << "";
    }
    void atualizaBancoAnterior()
    {
        QFETCH(int, resposta);
        QFETCH(QString, depois);
        const auto aplicar = [](const QString &esquema) {
            const QString comando = "mariadb --no-defaults --socket=\"$0\" -uroot < \"$1\"";
            return QProcess::execute("sh", {"-c", comando, BancoTeste::socket(), esquema}) == 0;
        };
        QVERIFY(banco.executa("DROP DATABASE vestara_gastos") && aplicar(FINARA_SCHEMA_ANTERIOR));
        QVERIFY(banco.executa("INSERT INTO vestara_gastos.importacao (idImportacao, arquivo, layout) VALUES "
                              "(1, 'a.csv', 'Finara (CSV)'), (2, 'b.csv', 'Nubank — cartão de crédito (CSV)'), "
                              "(3, 'c.ofx', 'OFX — conta corrente')"));
        QVERIFY(banco.executa("INSERT INTO vestara_gastos.gastos (data, fornecedor, valor, idCategoria, "
                              "idImportacao) VALUES ('2025-01-05', 'Pão', 12.5, 3, NULL), "
                              "('2026-01-06', 'X', -3, NULL, 1), ('2026-01-07', 'Estorno', -4, NULL, 2), "
                              "('2026-01-08', 'Salário', -5, NULL, 3), ('2026-01-09', 'Mercado', 20, 1, 3)"));
        const QString linhas = "SELECT GROUP_CONCAT(CONCAT_WS('|', idGasto, data, fornecedor, valor, descricao, "
                               "idCategoria, idImportacao)) FROM vestara_gastos.gastos";
        const QString antes = banco.valor(linhas).toString();
        QVERIFY(aplicar(FINARA_SCHEMA_SQL) && aplicar(FINARA_SCHEMA_SQL));
        QCOMPARE(banco.valor(linhas).toString(), antes);
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(PRIVILEGE_TYPE) FROM information_schema."
                             "SCHEMA_PRIVILEGES WHERE GRANTEE = \"'vestara_tilmo'@'localhost'\"")
                     .toString(), "SELECT,INSERT,UPDATE,DELETE");
        Finara principal;
        const auto ofertas = [this] { return respostas.vistas().filter("importado").size(); };
        const int jaVistas = ofertas();
        for (int vez = 0; vez < 2; ++vez) { // the second connection asks nothing
            QVERIFY(depois.section('|', vez, vez).isEmpty() || banco.executa(depois.section('|', vez, vez)));
            respostas.aoAbrir([](QWidget *d) {
                clicar(d, "pushButton_bd");
                d->close();
            });
            if (vez == 0 && resposta != QMessageBox::NoButton)
                respostas.responder(QMessageBox::StandardButton(resposta));
            clicar(&principal, "pushButton_conectarBD");
        }
        QCOMPARE(ofertas() - jaVistas, int(resposta != QMessageBox::NoButton));
        QTEST(banco.valor("SELECT GROUP_CONCAT(valor ORDER BY idGasto) FROM vestara_gastos.gastos").toString(),
              "gastos");
        QTEST(banco.valor("SELECT IFNULL(GROUP_CONCAT(valor), '') FROM vestara_gastos.entrada").toString(),
              "entradas");
        // The import's total is of its expenses, once they moved.
        QCOMPARE(banco.valor("SELECT total = IF(?, (SELECT SUM(valor) FROM vestara_gastos.gastos WHERE "
                             "idImportacao = 3), 0) FROM vestara_gastos.importacao WHERE idImportacao = 3",
                             {resposta == QMessageBox::Yes}).toInt(), 1);
    }
};

QTEST_MAIN(TstImportacoes)
#include "tst_importacoes.moc"
