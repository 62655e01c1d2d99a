#include "app/finara.h"
#include "database/conexao.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

namespace {

// Stored byte for byte and never run as SQL, whichever window it is typed or imported into.
const QString hostil = QStringLiteral("x') OR 1=1 -- `c` \\' \\\\ 100%_ ") + QChar(0)
                      + QStringLiteral(" \u202E 🎉");

// What percorrerJanelas sees without a server or a connection.
const QStringList foraDoAr {
    "Erro na leitura do banco de dados, Categoria, Erro ao inserir item: 0 categorias, 0 gastos",
    "Erro na leitura do Banco de Dados, AnaliseDados, Erro na leitura do Banco de Dados: 0 listados, 0 gastos",
    "Relatorios: 0 linhas, detalhe \"\", 0 gastos",
    "ImportarCSV, Erro ao importar arquivo: , 0 gastos"};

} // namespace

// Beside a throwaway server of its own, which "Conectar" reaches with the built-in parameters:
// the application user's rights, a refused connection, and the server going away in the middle
// of an import, each window reporting it, and "Conectar" bringing every window back.
class TstServidorIsolado : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("isolado")};
    QTemporaryDir pasta;
    Finara w;

    int gastos() const { return banco.valor("SELECT COUNT(*) FROM vestara_gastos.gastos").toInt(); }

    QString extrato(int linhas)
    {
        return gravarExtrato(pasta.path(), ("05/03/2025;" + hostil + ";R$ 1.234,45;" + hostil + "\n")
                                               .toUtf8().repeated(linhas));
    }

    // "Conectar BD", then "Conectar" whatever the fields say: the status the dialog shows.
    QString conectar()
    {
        QString status;
        RespostaModal resposta;
        resposta.aoAbrir([&](QWidget *d) {
            for (QLineEdit *campo : d->findChildren<QLineEdit *>())
                campo->setText(QStringLiteral("outra coisa"));
            clicar(d, "pushButton_bd");
            status = d->findChild<QLabel *>("label_status")->text();
            d->close();
        });
        clicar(&w, "pushButton_conectarBD");
        return status;
    }

    // One use of every window: the windows and boxes seen, what it lists, the expenses it adds.
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
            transcricao << QStringLiteral("%1: %2, %3 gastos").arg(resposta.vistas().join(", "), resultado)
                               .arg(gastos() - antes);
        };
        const auto linhas = [](QWidget *d, const char *nome) {
            return d->findChild<QAbstractItemView *>(nome)->model()->rowCount();
        };
        usar("pushButton_categoria", [&](QWidget *d) {
            d->findChild<QLineEdit *>()->setText(hostil);
            clicar(d, "pushButton_inserir");
            return QStringLiteral("%1 categorias").arg(linhas(d, "tableView_categoria"));
        });
        usar("pushButton", [&](QWidget *d) {
            clicar(d, "pushButton_filtro");
            return QStringLiteral("%1 listados").arg(linhas(d, "tableWidget_dados"));
        });
        usar("pushButton_analisar", [&](QWidget *d) {
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

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("FINARA_SERVIDOR_ISOLADO"), "run by servidor-isolado.sh");
        QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
        QVERIFY(banco.executa("INSERT INTO vestara_gastos.gastos (data, valor, fornecedor) VALUES (CURDATE(), 1, 'Loja')"));
    }

    // Refused while the account is locked, the reason logged without the password and the
    // handle closed; then connected as the application's user, talking utf8mb4, with exactly
    // the rights to read and write rows of its own database.
    void conexao()
    {
        const QString conta = QStringLiteral("ALTER USER '%1'@'127.0.0.1', '%1'@'localhost' ACCOUNT %2");
        QVERIFY(banco.executa(conta.arg(Conexao::usuario(), "LOCK")));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao abrir o banco de dados: \"(?!.*"
            + QRegularExpression::escape(Conexao::senha()) + ").*locked"));
        QCOMPARE(conectar(), QStringLiteral("Erro ao conectar Banco de dados"));
        QVERIFY(w.baseDeDados().isValid() && !w.baseDeDados().isOpen());
        QVERIFY(banco.executa(conta.arg(Conexao::usuario(), "UNLOCK")));
        QCOMPARE(conectar(), QStringLiteral("Banco de dados conectado"));
        QSqlQuery q(QStringLiteral("SELECT CONCAT_WS(' ', DATABASE(), CURRENT_USER(), @@character_set_client)"));
        QStringList visto {q.next() ? q.value(0).toString() : QString()};
        for (q.exec(QStringLiteral("SHOW GRANTS")); q.next();)
            visto << q.value(0).toString().section(QStringLiteral(" TO "), 0, 0);
        QCOMPARE(visto, QStringList({"vestara_gastos vestara_tilmo@localhost utf8mb4", "GRANT USAGE ON *.*",
                                     "GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.*"}));
    }

    // Killed once the import's transaction holds rows: the import says so and keeps nothing,
    // every window reports its failure, again after a refused "Conectar", and all work again
    // once the server is back and "Conectar" has been pressed.
    void servidorCaiNoMeioDaImportacao()
    {
        const int antes = gastos();
        QProcess vigia;
        {
            RespostaModal resposta;
            resposta.aoAbrir([&](QWidget *d) {
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
            QCOMPARE(resposta.vistas(), QStringList({"ImportarCSV", "Erro ao importar arquivo"}));
        }
        QCOMPARE(percorrerJanelas(), foraDoAr);
        QCOMPARE(conectar(), QStringLiteral("Erro ao conectar Banco de dados"));
        QCOMPARE(percorrerJanelas(), foraDoAr);

        QVERIFY(QProcess::execute(qEnvironmentVariable("FINARA_SERVIDOR_ISOLADO"), {"start"}) == 0);
        banco.admin().close();
        QVERIFY(banco.admin().open() && banco.executa("SET NAMES utf8mb4"));
        QCOMPARE(gastos(), antes);
        QCOMPARE(conectar(), QStringLiteral("Banco de dados conectado"));
        QCOMPARE(percorrerJanelas(), QStringList({"Categoria: 1 categorias, 0 gastos",
            "AnaliseDados: 1 listados, 0 gastos", "Relatorios: 1 linhas, detalhe \"Detalhes para Mercado ("
                + QDate::currentDate().toString("MM/yyyy") + ")\", 0 gastos", "ImportarCSV: , 3 gastos"}));
        QCOMPARE(banco.valor("SELECT CONCAT(categoria, fornecedor, descricao) FROM vestara_gastos.categoria, "
                             "vestara_gastos.gastos WHERE valor > 1 LIMIT 1").toString(), hostil.repeated(3));
    }
};

QTEST_MAIN(TstServidorIsolado)
#include "tst_servidorisolado.moc"
