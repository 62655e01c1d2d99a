#include "app/finara.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

namespace {

// Stored byte for byte and never run as SQL, whichever window it is typed or imported into.
const QString hostil = QStringLiteral("x') OR 1=1 -- `c` \\' \\\\ 100%_ ") + QChar(0) + QStringLiteral(" \u202E 🎉");

// What percorrerJanelas sees without a server or a connection.
const QStringList foraDoAr {
    "Erro na leitura do banco de dados, Categoria, Erro ao inserir item: 0 categorias, 0 gastos",
    "Erro na leitura do Banco de Dados, AnaliseDados, Erro na leitura do Banco de Dados, "
    "Nenhuma categoria selecionada.: 0 listados, 0 gastos",
    "Relatorios: 0 linhas, 0 gastos",
    "ImportarCSV, Erro ao importar arquivo: aberta, 0 gastos"};

} // namespace

// Beside a throwaway server of its own, which "Conectar" reaches with the built-in parameters:
// the application user's rights, and the server going away in the middle of an import, every
// window reporting it, and "Conectar" bringing every window back.
class TstServidorIsolado : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("isolado")};
    QTemporaryDir pasta;
    Finara w;

    int gastos() const { return banco.valor("SELECT COUNT(*) FROM vestara_gastos.gastos").toInt(); }

    QString extrato(int linhas)
    {
        const QString linha = "05/03/2025;" + hostil + ";R$ 1.234,45;" + hostil + "\n";
        return gravarExtrato(pasta.path(), linha.toUtf8().repeated(linhas));
    }

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
            QMetaObject::invokeMethod(d, "loadCsvIntoTableWidget", Q_ARG(QString, extrato(3)),
                                      Q_ARG(QTableWidget *, d->findChild<QTableWidget *>()));
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

QTEST_MAIN(TstServidorIsolado)
#include "tst_servidorisolado.moc"
