#include "app/finara.h"
#include "database/conexao.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

namespace {

bool servidor(const char *acao)
{
    return QProcess::execute(qEnvironmentVariable("FINARA_SERVIDOR_ISOLADO"), {acao}) == 0;
}

// "Conectar BD", then "Conectar" in the dialog: the status it shows.
QString conectarBD(Finara &w)
{
    QString status;
    RespostaModal resposta;
    resposta.aoAbrir([&](QWidget *d) {
        for (QLineEdit *campo : d->findChildren<QLineEdit *>())
            campo->setText(QStringLiteral("outra coisa")); // the built-in parameters apply
        clicar(d, "pushButton_bd");
        status = d->findChild<QLabel *>("label_status")->text();
        d->close();
    });
    clicar(&w, "pushButton_conectarBD");
    return status;
}

// A dialog's table by its name.
template<typename T = QTableWidget> int linhas(QWidget *d, const char *nome = "tableWidget_dados")
{
    return d->findChild<T *>(nome)->model()->rowCount();
}

// What percorrerJanelas sees without a server or a connection.
const QStringList foraDoAr {
    "Erro na leitura do banco de dados, Categoria, Erro ao inserir item: 0 categorias, 0 gastos",
    "Erro na leitura do Banco de Dados, AnaliseDados, Erro na leitura do Banco de Dados: 0 listados, 0 gastos",
    "Relatorios: 0 linhas, detalhe \"\", 0 gastos",
    "ImportarCSV, Erro ao importar arquivo: , 0 gastos"};

} // namespace

// Beside a throwaway server of its own, which "Conectar" reaches with the built-in parameters:
// the application user's rights, the schema's rules, a whole run through the main window, and
// the server going away in the middle of an import, each window reporting it, and "Conectar"
// bringing every window back once the server is.
class TstServidorIsolado : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("isolado")};
    QTemporaryDir pasta;

    int gastos(const QString &onde = {}) const
    {
        return banco.valor("SELECT COUNT(*) FROM vestara_gastos.gastos " + onde).toInt();
    }

    // One use of every window: the windows and boxes seen, what it lists, the expenses it adds.
    QStringList percorrerJanelas(Finara &w)
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
            transcricao << QStringLiteral("%1: %2, %3 gastos").arg(resposta.vistas().join(", "), resultado)
                               .arg(gastos() - antes);
        };
        usar("pushButton_categoria", [](QWidget *d) {
            d->findChild<QLineEdit *>()->setText(QStringLiteral("Nova"));
            clicar(d, "pushButton_inserir");
            return QStringLiteral("%1 categorias").arg(linhas<QTableView>(d, "tableView_categoria"));
        });
        usar("pushButton", [](QWidget *d) {
            clicar(d, "pushButton_filtro");
            return QStringLiteral("%1 listados").arg(linhas(d));
        });
        usar("pushButton_analisar", [](QWidget *d) {
            auto *detalhe = new JanelaDetalhe(0, QDate::currentDate(), QStringLiteral("Mercado"), d);
            return QStringLiteral("%1 linhas, detalhe \"%2\"").arg(linhas(d, "tableWidget_relatorio"))
                .arg(detalhe->windowTitle());
        });
        usar("pushButton_importarCSV", [&](QWidget *d) {
            QMetaObject::invokeMethod(d, "loadCsvIntoTableWidget", Q_ARG(QString, extrato(3)),
                                      Q_ARG(QTableWidget *, d->findChild<QTableWidget *>()));
            clicar(d, "pushButton_importar");
            return QString();
        });
        return transcricao;
    }

    // The sample statement moved to end in the current month, which the first listing and the
    // report show.
    QString extratoDoMesCorrente()
    {
        QFile amostra(QStringLiteral(FINARA_SAMPLES "/extrato-exemplo.csv"));
        amostra.open(QIODevice::ReadOnly);
        QStringList linhas = QString::fromUtf8(amostra.readAll()).split('\n', Qt::SkipEmptyParts);
        const QDate ultima = QDate::fromString(linhas.last().left(10), QStringLiteral("dd/MM/yyyy"));
        const QDate hoje = QDate::currentDate();
        for (QString &linha : linhas)
            linha = QDate::fromString(linha.left(10), QStringLiteral("dd/MM/yyyy"))
                        .addMonths((hoje.year() - ultima.year()) * 12 + hoje.month() - ultima.month())
                        .toString(QStringLiteral("dd/MM/yyyy")) + linha.mid(10);
        return gravarExtrato(pasta.path(), linhas.join('\n').toUtf8());
    }

    QString extrato(int linhas)
    {
        return gravarExtrato(pasta.path(), QByteArray("05/03/2025;Loja;R$ 1.234,45;Linha\n").repeated(linhas));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("FINARA_SERVIDOR_ISOLADO"), "run by servidor-isolado.sh");
        QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
    }

    // Read and write rows, nothing else; names that differ in case or trailing blanks are one,
    // those that differ in an emoji are two; no blank names, dates or amounts; four-byte
    // characters kept. All in a transaction rolled back, which leaves nothing.
    void direitosEEsquema()
    {
        QSqlDatabase app = QSqlDatabase::addDatabase(Conexao::driver(), QStringLiteral("app"));
        app.setHostName(QStringLiteral("127.0.0.1"));
        app.setDatabaseName(Conexao::banco());
        app.setUserName(Conexao::usuario());
        app.setPassword(Conexao::senha());
        QVERIFY2(Conexao::abrir(app) && app.transaction(), qPrintable(app.lastError().text()));
        QSqlQuery q(app);
        QStringList visto;
        QVERIFY(q.exec(QStringLiteral("SHOW GRANTS")));
        while (q.next())
            visto << q.value(0).toString().section(QStringLiteral(" TO "), 0, 0);
        const QString categoria = QStringLiteral("INSERT INTO categoria (categoria) VALUES ('%1')");
        const QString gasto = QStringLiteral("INSERT INTO gastos (data, valor, fornecedor) VALUES (%1)");
        for (const QString &sql : {categoria.arg("Lazer 🎉"), categoria.arg("LAZER 🎉"),
                                   categoria.arg("Lazer 🎉 "), categoria.arg("Lazer 🎮"),
                                   categoria.arg(" "), categoria.arg("\t"), gasto.arg("NULL, 1, ''"),
                                   gasto.arg("'', 1, ''"), gasto.arg("CURDATE(), 'r5.00', ''"),
                                   gasto.arg("CURDATE(), NULL, ''"), gasto.arg("CURDATE(), 1, 'Zé 💸'")})
            visto << QStringLiteral("%1 %2").arg(sql.section('(', 2)).arg(q.exec(sql));
        QVERIFY2(q.exec("SELECT CONCAT((SELECT GROUP_CONCAT(categoria ORDER BY idCategoria) FROM categoria), "
                        "' ', (SELECT fornecedor FROM gastos))") && q.next(), qPrintable(q.lastError().text()));
        visto << q.value(0).toString();
        QVERIFY(app.rollback());
        QCOMPARE(visto, QStringList({"GRANT USAGE ON *.*",
            "GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.*", "'Lazer 🎉') 1", "'LAZER 🎉') 0",
            "'Lazer 🎉 ') 0", "'Lazer 🎮') 1", "' ') 0", "'\t') 0", "NULL, 1, '') 0", "'', 1, '') 0",
            "CURDATE(), 'r5.00', '') 0", "CURDATE(), NULL, '') 0", "CURDATE(), 1, 'Zé 💸') 1",
            "Lazer 🎉,Lazer 🎮 Zé 💸"}));
        QCOMPARE(gastos() + banco.valor("SELECT COUNT(*) FROM vestara_gastos.categoria").toInt(), 0);
    }
    // Refused while the account is locked, the reason logged without the password, the
    // dialog left open; then connected as the application's user, talking utf8mb4.
    void conexao()
    {
        const QString travar = QStringLiteral("ALTER USER '%1'@'127.0.0.1', '%1'@'localhost' ACCOUNT %2");
        QVERIFY(banco.executa(travar.arg(Conexao::usuario(), "LOCK")));
        Finara w;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao abrir o banco de dados: \"(?!.*"
            + QRegularExpression::escape(Conexao::senha()) + ").*locked"));
        QCOMPARE(conectarBD(w), QStringLiteral("Erro ao conectar Banco de dados"));
        QVERIFY(w.baseDeDados().isValid() && !w.baseDeDados().isOpen());
        QVERIFY(banco.executa(travar.arg(Conexao::usuario(), "UNLOCK")));
        QCOMPARE(conectarBD(w), QStringLiteral("Banco de dados conectado"));
        QSqlQuery q(QStringLiteral("SELECT CONCAT_WS(' ', DATABASE(), SUBSTRING_INDEX(CURRENT_USER(), '@', 1), @@character_set_client)"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("vestara_gastos vestara_tilmo utf8mb4"));
    }

    // Categories typed and one deleted, the sample statement, moved to end in the current month,
    // chosen in the real file dialog and imported, this month's bakeries classified, and the
    // report's sum for them, whose detail window a double-click opens.
    void usoTipico()
    {
        Finara w;
        QCOMPARE(conectarBD(w), QStringLiteral("Banco de dados conectado"));
        RespostaModal resposta;
        resposta.aoAbrir([&](QWidget *d) {
            for (const char *nome : {"Zeta", "Mercado", "  Moradia "}) {
                d->findChild<QLineEdit *>()->setText(QString::fromUtf8(nome));
                clicar(d, "pushButton_inserir");
            }
            d->close();
        });
        clicar(&w, "pushButton_categoria");
        resposta.aoAbrir([&](QWidget *d) { // listed by name now, "Zeta" last with the first key
            auto *lista = d->findChild<QTableView *>();
            for (auto botao : {QMessageBox::No, QMessageBox::Yes}) {
                resposta.responder(botao);
                emit lista->doubleClicked(lista->model()->index(2, 1));
            }
            d->close();
        });
        clicar(&w, "pushButton_categoria");
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(categoria ORDER BY categoria) FROM vestara_gastos.categoria")
                     .toString(), QStringLiteral("Mercado,Moradia"));

        resposta.aoAbrir([&](QWidget *d) {
            resposta.escolherArquivo(extratoDoMesCorrente());
            clicar(d, "pushButton_lercsv");
            clicar(d, "pushButton_importar");
        });
        clicar(&w, "pushButton_importarCSV");
        QCOMPARE(banco.valor("SELECT CONCAT_WS('|', COUNT(*), SUM(valor), SUM(descricao = ''), "
                             "COUNT(idCategoria), SUM(fornecedor = 'Supermercado Pão de Açúcar')) "
                             "FROM vestara_gastos.gastos").toString(), QStringLiteral("86|29604.49|1|0|6"));

        const QString padariasDoMes = QStringLiteral("WHERE fornecedor LIKE '%Padaria%' AND "
            "DATE_FORMAT(data, '%Y%m') = DATE_FORMAT(CURDATE(), '%Y%m')");
        int listadasAoAbrir = 0;
        resposta.aoAbrir([&](QWidget *d) {
            listadasAoAbrir = linhas(d);
            d->findChild<QLineEdit *>()->setText(QStringLiteral("Padaria"));
            clicar(d, "pushButton_filtro");
            d->findChild<QTableWidget *>()->selectAll();
            d->findChild<QTableView *>()->selectRow(0);
            clicar(d, "pushButton_classificar");
            d->close();
        });
        clicar(&w, "pushButton");
        QCOMPARE(listadasAoAbrir, gastos("WHERE DATE_FORMAT(data, '%Y%m') = DATE_FORMAT(CURDATE(), '%Y%m')"));
        QVERIFY(gastos(padariasDoMes) > 0);
        QCOMPARE(gastos("WHERE idCategoria IS NOT NULL"), gastos(padariasDoMes));
        QCOMPARE(gastos("JOIN vestara_gastos.categoria USING (idCategoria) WHERE categoria = 'Mercado'"),
                 gastos(padariasDoMes));

        QStringList somaEDetalhe;
        resposta.aoAbrir([&](QWidget *d) {
            auto *relatorio = d->findChild<QTableWidget *>();
            const int linha = relatorio->findItems(QStringLiteral("Mercado"), Qt::MatchExactly).value(0)->row();
            somaEDetalhe << relatorio->item(linha, 2)->text();
            const QPoint centro = relatorio->visualRect(relatorio->model()->index(linha, 2)).center();
            QTest::mouseClick(relatorio->viewport(), Qt::LeftButton, {}, centro);
            QTest::mouseDClick(relatorio->viewport(), Qt::LeftButton, {}, centro);
            double total = 0;
            for (const QString &gasto : linhasDaGrade(d->findChild<JanelaDetalhe *>()->findChild<QTableWidget *>()))
                total += gasto.section('|', 3).toDouble();
            somaEDetalhe << QString::number(total, 'f', 2);
            d->close();
        });
        clicar(&w, "pushButton_analisar");
        const QString soma = banco.valor("SELECT CAST(SUM(valor) AS CHAR) FROM vestara_gastos.gastos "
                                         + padariasDoMes).toString();
        QCOMPARE(somaEDetalhe, QStringList({soma, soma}));
    }

    // Killed once the import's transaction holds rows: the import says so and keeps nothing,
    // every window reports its failure, again after a refused "Conectar", and all work again
    // once the server is back and "Conectar" has been pressed.
    void servidorCaiNoMeioDaImportacao()
    {
        const int antes = gastos();
        Finara w;
        QCOMPARE(conectarBD(w), QStringLiteral("Banco de dados conectado"));
        QProcess vigia;
        auto *resposta = new RespostaModal;
        resposta->aoAbrir([&](QWidget *d) {
            QMetaObject::invokeMethod(d, "loadCsvIntoTableWidget", Q_ARG(QString, extrato(50000)),
                                      Q_ARG(QTableWidget *, d->findChild<QTableWidget *>()));
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
        QCOMPARE(percorrerJanelas(w), foraDoAr);
        QCOMPARE(conectarBD(w), QStringLiteral("Erro ao conectar Banco de dados"));
        QCOMPARE(percorrerJanelas(w), foraDoAr);

        QVERIFY(servidor("start"));
        banco.admin().close();
        QVERIFY(banco.admin().open());
        QCOMPARE(gastos(), antes);
        QCOMPARE(conectarBD(w), QStringLiteral("Banco de dados conectado"));
        const QString doMes = QStringLiteral("WHERE DATE_FORMAT(data, '%Y%m') = DATE_FORMAT(CURDATE(), '%Y%m')");
        QCOMPARE(percorrerJanelas(w), QStringList({"Categoria: 3 categorias, 0 gastos",
            QStringLiteral("AnaliseDados: %1 listados, 0 gastos").arg(gastos(doMes)),
            "Relatorios: 2 linhas, detalhe \"Detalhes para Mercado ("
                + QDate::currentDate().toString("MM/yyyy") + ")\", 0 gastos",
            "ImportarCSV: , 3 gastos"}));
    }
};

QTEST_MAIN(TstServidorIsolado)
#include "tst_servidorisolado.moc"
