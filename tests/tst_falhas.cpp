#include "app/finara.h"
#include "database/conexao.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

// Server faults met through the real main window, beside a throwaway server the test stops, kills
// and restarts: each window reports the failure its own way and nothing hangs; "Conectar" after the
// restart brings every window back; an import cut off in the middle leaves nothing in gastos.
namespace {

// Every message of any kind, besides the debug lines CapturaDebug sees.
QStringList todasAsMensagens;
QtMessageHandler tratadorAnterior = nullptr;

void guardarMensagem(QtMsgType tipo, const QMessageLogContext &contexto, const QString &texto)
{
    todasAsMensagens << texto;
    tratadorAnterior(tipo, contexto, texto);
}

QStringList caixas(const RespostaModal &resposta)
{
    QStringList lista;
    for (const JanelaVista &v : resposta.vistas())
        if (v.classe == QLatin1String("QMessageBox"))
            lista << v.tipo + '|' + v.titulo + '|' + v.texto;
    return lista;
}

// Diagnostic lines up to their colon: the server's error text varies.
QStringList prefixos(const QStringList &linhas)
{
    QStringList lista;
    for (const QString &linha : linhas)
        lista << linha.section(QLatin1Char(':'), 0, 0);
    return lista;
}

void clicar(QWidget *janela, const char *botao) { janela->findChild<QPushButton *>(botao)->click(); }

bool servidor(const QString &acao)
{
    return QProcess::execute(qEnvironmentVariable("FINARA_SERVIDOR_ISOLADO"), {acao}) == 0;
}

bool carregar(QWidget *dialogo, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(dialogo, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido), Q_ARG(QString, caminho),
                              Q_ARG(QTableWidget *, dialogo->findChild<QTableWidget *>("tableWidget_dados")));
    return lido;
}

// "Conectar BD", then "Conectar" as many times: the status line as left, then
// every text the dialog shows but the password field's.
QStringList conectar(Finara &w, int vezes = 1)
{
    RespostaModal resposta;
    QStringList textos;
    resposta.aoAbrir([&](QWidget *d) {
        for (int i = 0; i < vezes; ++i)
            clicar(d, "pushButton_bd");
        textos << d->findChild<QLabel *>("label_status")->text() << d->windowTitle();
        for (auto *rotulo : d->findChildren<QLabel *>())
            textos << rotulo->text();
        for (auto *campo : d->findChildren<QLineEdit *>())
            if (campo->objectName() != QLatin1String("lineEdit_senha"))
                textos << campo->text();
        d->close();
    });
    clicar(&w, "pushButton_conectarBD");
    return textos;
}

const QString conectado = QStringLiteral("Banco de dados conectado");

// What percorrerJanelas sees with the server gone or the connection closed.
const QStringList foraDoAr {
    "pushButton_categoria / warning|Erro na Conexão|Erro na leitura do banco de dados, warning|Erro|Erro ao inserir item"
    " / Erro ao executar consulta, Erro ao inserir item na tabela categoria / 0 categorias / gastos 0",
    "pushButton / information|Informação|Erro na leitura do Banco de Dados, information|Informação|Erro na leitura do Banco de Dados"
    " /  / 0 gastos listados / gastos 0",
    "pushButton_analisar /  / Erro ao executar a query, Erro ao executar a query / 0 linhas, detalhe \"\" / gastos 0",
    "pushButton_importarCSV / information|Erro|Erro ao importar arquivo / Erro no registro de importações, "
    "Erro ao procurar linhas repetidas, Erro ao iniciar a transação /  / gastos 0",
};

} // namespace

class TstFalhas : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("falhas")};
    QTemporaryDir pasta;

    int contagem() const { return banco.valor(QStringLiteral("SELECT COUNT(*) FROM gastos")).toInt(); }

    // The administrator's connection does not survive the server either.
    bool reabrirAdmin()
    {
        QSqlDatabase admin = banco.admin();
        admin.close();
        return admin.open() && banco.executa(QStringLiteral("USE vestara_gastos"))
               && banco.executa(QStringLiteral("SET NAMES utf8mb4"));
    }

    QString arquivo(const QString &nome, int linhas)
    {
        QFile f(pasta.filePath(nome));
        const QByteArray conteudo = QByteArray("05/03/2025;Fornecedor;R$ 1.234,45;Linha\n").repeated(linhas);
        return f.open(QIODevice::WriteOnly) && f.write(conteudo) == conteudo.size() ? f.fileName() : QString();
    }

    // One use of every window, a line each: the button, the boxes shown, the diagnostic
    // lines, what it listed and the change in gastos; each done within the driver's timeouts.
    QStringList percorrerJanelas(Finara &w)
    {
        QStringList transcricao;
        const QString pequeno = arquivo(QStringLiteral("pequeno.csv"), 3);
        const auto usar = [&](const char *botao, std::function<QString(QWidget *)> acao) {
            const int gastosAntes = contagem();
            CapturaDebug debug;
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
            QElapsedTimer relogio;
            relogio.start();
            clicar(&w, botao);
            if (relogio.elapsed() > 10000)
                transcricao << QStringLiteral("%1 demorou %2 ms").arg(QLatin1String(botao)).arg(relogio.elapsed());
            transcricao << QStringList({botao, caixas(resposta).join(", "), prefixos(debug.linhas()).join(", "),
                                        resultado, QStringLiteral("gastos %1").arg(contagem() - gastosAntes)})
                               .join(" / ");
        };
        usar("pushButton_categoria", [](QWidget *d) {
            d->findChild<QLineEdit *>("lineEdit_categoria")->setText(QStringLiteral("Nova"));
            clicar(d, "pushButton_inserir");
            return QStringLiteral("%1 categorias").arg(d->findChild<QTableView *>("tableView_categoria")->model()->rowCount());
        });
        usar("pushButton", [](QWidget *d) {
            clicar(d, "pushButton_filtro");
            return QStringLiteral("%1 gastos listados").arg(d->findChild<QTableWidget *>("tableWidget_dados")->rowCount());
        });
        usar("pushButton_analisar", [](QWidget *d) {
            // The detail window of the first sum, built as the report builds it.
            auto *relatorio = d->findChild<QTableWidget *>("tableWidget_relatorio");
            auto *detalhe = new JanelaDetalhe(relatorio->rowCount() ? relatorio->item(0, 0)->text().toInt() : 1,
                                              QDate::currentDate(), QStringLiteral("Mercado"), d);
            return QStringLiteral("%1 linhas, detalhe \"%2\"").arg(relatorio->rowCount()).arg(detalhe->windowTitle());
        });
        usar("pushButton_importarCSV", [&](QWidget *d) {
            carregar(d, pequeno);
            clicar(d, "pushButton_importar");
            return QString();
        });
        return transcricao;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("FINARA_SERVIDOR_ISOLADO"), "run through servidor-isolado.sh");
        QVERIFY2(banco.pronto() && reabrirAdmin(), qPrintable(banco.erro()));
        tratadorAnterior = qInstallMessageHandler(guardarMensagem);
    }

    void cleanupTestCase() { qInstallMessageHandler(tratadorAnterior); }

    // A test that failed halfway may have left the server down.
    void init()
    {
        if (!banco.valor(QStringLiteral("SELECT 1")).isValid()) {
            servidor(QStringLiteral("start"));
            QVERIFY(reabrirAdmin());
        }
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa(QStringLiteral("INSERT INTO categoria (categoria) VALUES ('Mercado')")));
        QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria) "
                                             "SELECT CURDATE(), 'Padaria', 12.50, 'pão', idCategoria FROM categoria")));
    }

    void servidorCai_data()
    {
        QTest::addColumn<QString>("falha");
        QTest::addColumn<bool>("importando");
        for (const char *falha : {"kill", "stop"}) {
            QTest::addRow("%s, ocioso", falha) << falha << false;
            QTest::addRow("%s, no meio de uma importação", falha) << falha << true;
        }
    }

    // The server goes down under an open connection, idle or once an import's transaction has sent rows
    // (the import reports it and keeps nothing). Every window reports its failure, again after a failed
    // "Conectar", and works on once the server is back and "Conectar" has been pressed.
    void servidorCai()
    {
        QFETCH(QString, falha);
        QFETCH(bool, importando);
        Finara w;
        QCOMPARE(conectar(w).value(0), conectado);
        if (!importando) {
            QVERIFY(servidor(falha));
        } else {
            // Brings the server down once the import's transaction holds rows. InnoDB refreshes
            // innodb_trx only when it was last read over 0.1 s ago, so a tighter loop reads 0 forever.
            QProcess vigia;
            CapturaDebug debug;
            RespostaModal resposta;
            bool abertoAposOErro = false;
            resposta.aoAbrir([&](QWidget *d) {
                QVERIFY(carregar(d, arquivo(QStringLiteral("grande.csv"), 50000)));
                vigia.start("timeout", {"60", "sh", "-c", "until [ \"$(mariadb --no-defaults --socket=\"$0\" -uroot -N -e "
                            "'SELECT COALESCE(SUM(trx_rows_modified), 0) FROM information_schema.innodb_trx')\" -gt 0 ] "
                            "2>/dev/null; do sleep 0.2; done; exec \"$FINARA_SERVIDOR_ISOLADO\" \"$1\"", BancoTeste::socket(), falha});
                clicar(d, "pushButton_importar");
                abertoAposOErro = d->isVisible();
                d->close();
            });
            clicar(&w, "pushButton_importarCSV");
            QVERIFY2(vigia.waitForFinished(60000) && vigia.exitCode() == 0, "the server did not go down during the import");
            QVERIFY(abertoAposOErro);
            QCOMPARE(caixas(resposta), QStringList({"information|Erro|Erro ao importar arquivo"}));
            QCOMPARE(prefixos(debug.linhas()).value(0), QStringLiteral("Erro ao inserir dados"));
        }
        QCOMPARE(percorrerJanelas(w), foraDoAr);
        QCOMPARE(conectar(w).value(0), QStringLiteral("Erro ao conectar Banco de dados"));
        QCOMPARE(percorrerJanelas(w), foraDoAr);

        QVERIFY(servidor(QStringLiteral("start")) && reabrirAdmin());
        QCOMPARE(contagem(), 1);
        QCOMPARE(conectar(w).value(0), conectado);
        QCOMPARE(percorrerJanelas(w), QStringList({
            "pushButton_categoria /  / Item inserido com sucesso! / 2 categorias / gastos 0",
            "pushButton /  /  / 1 gastos listados / gastos 0",
            "pushButton_analisar /  /  / 1 linhas, detalhe \"Detalhes para Mercado (" + QDate::currentDate().toString("MM/yyyy")
                + ")\" / gastos 0",
            "pushButton_importarCSV / information|Importação concluída|3 gastos gravados, total de R$ 3.703,35. /  /  / gastos 3",
        }));
    }

    void primeiraConexaoFalha_data()
    {
        QTest::addColumn<QString>("falha");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("sem servidor") << "stop" << "Can't connect to server on '127.0.0.1'";
        QTest::newRow("conta recusada pelo servidor") << "travar" << "locked";
    }

    // Refused at the first connect: the status line, a diagnostic line per try
    // with the server's reason, every window reporting its failure, and the
    // password in no log line of any kind nor any text shown but its own field.
    void primeiraConexaoFalha()
    {
        QFETCH(QString, falha);
        QFETCH(QString, motivo);
        const bool travar = falha == QLatin1String("travar");
        QVERIFY(travar ? banco.travarContaDoAplicativo(true) : servidor(falha));
        todasAsMensagens.clear();
        QStringList textos, diagnosticos;
        {
            Finara w;
            {
                CapturaDebug debug;
                textos = conectar(w, 2);
                QCOMPARE(textos.value(0), QStringLiteral("Erro ao conectar Banco de dados"));
                diagnosticos = debug.linhas();
            }
            QVERIFY(w.baseDeDados().isValid() && !w.baseDeDados().isOpen());
            QCOMPARE(percorrerJanelas(w), foraDoAr);
        }
        QCOMPARE(diagnosticos.size(), 2);
        for (const QString &linha : diagnosticos)
            QVERIFY2(linha.startsWith("Erro ao abrir o banco de dados: \"") && linha.contains(motivo), qPrintable(linha));
        QVERIFY(todasAsMensagens.size() >= diagnosticos.size());
        for (const QString &texto : textos + todasAsMensagens)
            QVERIFY2(!texto.contains(Conexao::senha()), qPrintable(texto));

        QVERIFY(travar ? banco.travarContaDoAplicativo(false) : servidor(QStringLiteral("start")) && reabrirAdmin());
        Finara w;
        QCOMPARE(conectar(w).value(0), conectado);
    }
};

QTEST_MAIN(TstFalhas)
#include "tst_falhas.moc"
