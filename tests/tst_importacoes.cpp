#include "app/finara.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

// Repeated rows in the preview, imports recorded and undone, the upgrade of an older database.
// Beside a server of its own, whose vestara_gastos the last two tests rebuild, then use.
class TstImportacoes : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("importacoes")};
    const QString gastos = "SELECT COUNT(*) FROM vestara_gastos.gastos";

    static void clicar(QWidget *w, const char *botao) { w->findChild<QPushButton *>(botao)->click(); }
    static QTableWidget *carregar(QWidget *d, const QString &arquivo)
    {
        auto *grade = d->findChild<QTableWidget *>();
        QMetaObject::invokeMethod(d, "loadCsvIntoTableWidget", Q_ARG(QString, arquivo), Q_ARG(QTableWidget *, grade));
        return grade;
    }
    static RespostaModal::Acao responder(QString *texto, int botao) // keeping the box's text
    {
        return [=](QWidget *caixa) {
            *texto = qobject_cast<QMessageBox *>(caixa)->text();
            qobject_cast<QMessageBox *>(caixa)->button(QMessageBox::StandardButton(botao))->click();
        };
    }
    static bool aplicar(const char *esquema)
    {
        QProcess mariadb;
        mariadb.setStandardInputFile(esquema);
        mariadb.start("mariadb", {"--no-defaults", "--socket=" + BancoTeste::socket(), "-uroot"});
        return mariadb.waitForFinished(60000) && mariadb.exitCode() == 0;
    }

private slots:
    void marcaRepetidas_data()
    {
        QTest::addColumn<QString>("noBanco"); // data, fornecedor, valor, idTransacao
        QTest::addColumn<QString>("idDaLinha0"); // the bank's id the file gave the first row
        QTest::addColumn<QString>("valorEditado"); // typed into the first row once marked
        QTest::addColumn<QString>("repetidas");
        const QString duas = "('2026-03-05', 'Padaria', 10, NULL), ('2026-03-05', 'padaria', 10, NULL)";
        QTest::newRow("três no arquivo, duas no banco") << duas << "" << "" << "0,1";
        QTest::newRow("edição torna a linha nova") << duas << "" << "10,01" << "1,2";
        QTest::newRow("id do banco noutra data") << "('2026-01-09', 'Loja', 3, 'F1')" << "F1" << "" << "0";
        QTest::newRow("outro id") << "('2026-03-05', 'Padaria', 10, 'F1')" << "F2" << "" << "";
    }
    void marcaRepetidas()
    {
        QFETCH(QString, noBanco);
        QFETCH(QString, idDaLinha0);
        QFETCH(QString, valorEditado);
        QTemporaryFile extrato;
        QVERIFY(extrato.open() && extrato.write(QByteArray("05/03/2026;PADÁRIA;R$ 10,00;\n").repeated(3)));
        extrato.close();
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, idTransacao) VALUES " + noBanco));
        ImportarCSV d;
        QTableWidget *grade = carregar(&d, extrato.fileName());
        grade->item(0, 0)->setData(Qt::UserRole, idDaLinha0);
        for (const QString &valor : {QString(), valorEditado}) {
            if (!valor.isEmpty())
                grade->item(0, 2)->setText(valor);
            QCoreApplication::processEvents(); // rows are marked once the edits of one pass end
        }
        QStringList cinzas;
        for (int linha = 0; linha < grade->rowCount(); ++linha)
            if (!grade->item(linha, 0)->toolTip().isEmpty())
                cinzas << QString::number(linha);
        QTEST(cinzas.join(','), "repetidas");
    }

    // vestara_gastos as the previous schema made it, holding rows: the program names the command
    // to run; upgraded twice, every row stays and the application's rights stay exactly DML.
    void atualizaBancoAnterior()
    {
        QVERIFY(banco.executa("DROP DATABASE vestara_gastos") && aplicar(FINARA_SCHEMA_ANTERIOR));
        QVERIFY(banco.executa("INSERT INTO vestara_gastos.gastos (data, fornecedor, valor, idCategoria) "
                              "VALUES ('2025-01-05', 'Padaria', 12.5, 3), (NOW(), 'Feira', -3, NULL)"));
        const QString linhas = "SELECT GROUP_CONCAT(CONCAT_WS('|', idGasto, data, fornecedor, valor, descricao, "
                               "idCategoria)) FROM vestara_gastos.gastos";
        const QString antes = banco.valor(linhas).toString();
        QString aviso;
        Finara w;
        RespostaModal respostas;
        respostas.aoAbrir([](QWidget *d) { clicar(d, "pushButton_bd"); });
        respostas.aoAbrir(responder(&aviso, QMessageBox::Ok));
        clicar(&w, "pushButton_conectarBD");
        clicar(&w, "pushButton_importacoes");
        QVERIFY2(aviso.contains("rodando ./scripts/db-server start"), qPrintable(aviso));
        QVERIFY(aplicar(FINARA_SCHEMA_SQL) && aplicar(FINARA_SCHEMA_SQL));
        QCOMPARE(banco.valor(linhas).toString(), antes);
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(DISTINCT PRIVILEGE_TYPE ORDER BY 1) FROM (SELECT * FROM "
                             "information_schema.USER_PRIVILEGES UNION SELECT GRANTEE, TABLE_CATALOG, "
                             "PRIVILEGE_TYPE, IS_GRANTABLE FROM information_schema.SCHEMA_PRIVILEGES) p "
                             "WHERE GRANTEE LIKE '''vestara_tilmo''@%'").toString(), "DELETE,INSERT,SELECT,UPDATE,USAGE");
    }

    // The sample twice through the main window beside the two expenses kept above, the second time
    // with the notice and the question; then the newest import undone, unless the server cuts it.
    void exemploDuasVezes_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QString>("resumo"); // of the last import that wrote
        QTest::addColumn<QString>("gatilho"); // run on deleting an import record
        QTest::addColumn<int>("gastosAoFim");
        const QString nada = "SET @nada = 0", corte = "SIGNAL SQLSTATE '45000'";
        QTest::newRow("só as novas") << int(QMessageBox::Yes) << "^0 gastos.*\n86 linhas repetidas" << nada << 2;
        QTest::newRow("todas") << int(QMessageBox::YesToAll) << "^86 gastos[^\n]*$" << nada << 88;
        QTest::newRow("voltar") << int(QMessageBox::Cancel) << "^86 gastos[^\n]*$" << nada << 2;
        QTest::newRow("desfazer cortado") << int(QMessageBox::Yes) << "^0 gastos" << corte << 88;
    }
    void exemploDuasVezes()
    {
        QFETCH(int, resposta);
        QFETCH(QString, resumo);
        QFETCH(QString, gatilho);
        QVERIFY(banco.executa("DELETE FROM vestara_gastos.gastos WHERE idImportacao IS NOT NULL"));
        Finara w;
        RespostaModal respostas;
        respostas.aoAbrir([](QWidget *d) { clicar(d, "pushButton_bd"); });
        clicar(&w, "pushButton_conectarBD");
        QString aviso, pergunta, textoDoResumo, confirmacao;
        for (int vez : {0, 1}) {
            respostas.aoAbrir([&](QWidget *d) {
                carregar(d, FINARA_SAMPLES "/extrato-exemplo.csv");
                aviso = d->findChild<QLabel *>()->text();
                if (vez == 1)
                    respostas.aoAbrir(responder(&pergunta, resposta));
                if (vez == 0 || resposta != QMessageBox::Cancel)
                    respostas.aoAbrir(responder(&textoDoResumo, QMessageBox::Ok));
                clicar(d, "pushButton_importar");
                d->close();
            });
            clicar(&w, "pushButton_importarCSV");
        }
        QVERIFY(aviso.startsWith("Este arquivo já foi importado em " + QDate::currentDate().toString("dd/MM/yyyy")));
        QCOMPARE(pergunta, "86 linhas já estão no banco de dados.");
        QVERIFY2(textoDoResumo.contains(QRegularExpression(resumo)), qPrintable(textoDoResumo));
        QCOMPARE(banco.valor(gastos).toInt(), resposta == QMessageBox::YesToAll ? 174 : 88);
        QVERIFY(banco.executa("CREATE OR REPLACE TRIGGER vestara_gastos.corta BEFORE DELETE ON "
                              "vestara_gastos.importacao FOR EACH ROW " + gatilho));
        respostas.aoAbrir([&](QWidget *janela) {
            janela->findChild<QTableWidget *>()->selectRow(0);
            respostas.aoAbrir(responder(&confirmacao, QMessageBox::Yes));
            clicar(janela, "pushButton_desfazer");
            janela->close();
        });
        clicar(&w, "pushButton_importacoes");
        QVERIFY(confirmacao.contains("86 gastos serão apagados"));
        QTEST(banco.valor(gastos).toInt(), "gastosAoFim");
    }
};

QTEST_MAIN(TstImportacoes)
#include "tst_importacoes.moc"
