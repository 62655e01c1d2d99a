#include "app/finara.h"
#include "database/conexao.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

// Server faults met through the real main window, beside a throwaway server
// that the test stops, kills and restarts: each window reports the failure
// its own way and nothing hangs; "Conectar" after the restart brings every
// window back; an import cut off in the middle leaves nothing in gastos.
class TstFalhas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void importacaoInterrompidaNaoDeixaLinhas_data();
    void importacaoInterrompidaNaoDeixaLinhas();
    void servidorCaiComOProgramaAberto_data();
    void servidorCaiComOProgramaAberto();
    void primeiraConexaoFalha_data();
    void primeiraConexaoFalha();

private:
    static bool servidor(const QString &acao);
    bool reabrirAdmin();
    int contagem(const QString &sql) const { return banco->valor(sql).toInt(); }
    QString arquivo(const QString &nome, int linhas);
    QStringList percorrerJanelas(Finara &w);
    static QString conectar(Finara &w);
    static void clicar(QWidget *janela, const char *botao) { janela->findChild<QPushButton *>(botao)->click(); }
    static bool carregar(QWidget *dialogo, const QString &caminho);

    BancoTeste *banco = nullptr;
    QTemporaryDir pasta;
};

namespace {

// Every message of any kind written while it lives, besides the debug lines
// CapturaDebug sees, so a test can look for what must never be logged.
QStringList *todasAsMensagens = nullptr;
QtMessageHandler tratadorAnterior = nullptr;

void guardarMensagem(QtMsgType tipo, const QMessageLogContext &contexto, const QString &texto)
{
    if (todasAsMensagens)
        todasAsMensagens->append(texto);
    tratadorAnterior(tipo, contexto, texto);
}

// A message box as "kind|title|text".
QString caixa(const JanelaVista &v)
{
    return QStringList({v.tipo, v.titulo, v.texto}).join(QLatin1Char('|'));
}

QStringList caixas(const RespostaModal &resposta)
{
    QStringList lista;
    for (const JanelaVista &v : resposta.vistas()) {
        if (v.classe == QLatin1String("QMessageBox"))
            lista << caixa(v);
    }
    return lista;
}

// A diagnostic line up to its colon: the server's error text varies.
QStringList prefixos(const QStringList &linhas)
{
    QStringList lista;
    for (const QString &linha : linhas)
        lista << linha.section(QLatin1Char(':'), 0, 0);
    return lista;
}

const int limiteDeEsperaMs = 10000;

} // namespace

void TstFalhas::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("FINARA_SERVIDOR_ISOLADO"), "run through servidor-isolado.sh");
    banco = new BancoTeste(QStringLiteral("falhas"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    QVERIFY(reabrirAdmin());
    tratadorAnterior = qInstallMessageHandler(guardarMensagem);
}

void TstFalhas::cleanupTestCase()
{
    qInstallMessageHandler(tratadorAnterior);
    delete banco;
}

void TstFalhas::init()
{
    QVERIFY(banco->executa(QStringLiteral("DELETE FROM gastos")));
    QVERIFY(banco->executa(QStringLiteral("DELETE FROM categoria")));
    QVERIFY(banco->executa(QStringLiteral("INSERT INTO categoria (categoria) VALUES ('Mercado')")));
    QVERIFY(banco->executa(QStringLiteral(
        "INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria) "
        "SELECT CURDATE(), 'Padaria', 12.50, 'pão', idCategoria FROM categoria")));
}

// A test that failed halfway may have left the server down.
void TstFalhas::cleanup()
{
    if (!banco->admin().isOpen() || !banco->valor(QStringLiteral("SELECT 1")).isValid()) {
        servidor(QStringLiteral("start"));
        QVERIFY(reabrirAdmin());
    }
}

bool TstFalhas::servidor(const QString &acao)
{
    return QProcess::execute(qEnvironmentVariable("FINARA_SERVIDOR_ISOLADO"), {acao}) == 0;
}

// The administrator's connection does not survive the server either.
bool TstFalhas::reabrirAdmin()
{
    QSqlDatabase admin = banco->admin();
    admin.close();
    return admin.open() && banco->executa(QStringLiteral("USE vestara_gastos"))
           && banco->executa(QStringLiteral("SET NAMES utf8mb4"));
}

QString TstFalhas::arquivo(const QString &nome, int linhas)
{
    QByteArray conteudo;
    for (int i = 0; i < linhas; ++i)
        conteudo += QStringLiteral("%1/03/2025;Fornecedor %2;R$ 1.%3,45;Linha %2\n")
                        .arg(i % 28 + 1, 2, 10, QLatin1Char('0')).arg(i).arg(i % 1000, 3, 10, QLatin1Char('0'))
                        .toUtf8();
    QFile f(pasta.filePath(nome));
    if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size())
        return {};
    return f.fileName();
}

bool TstFalhas::carregar(QWidget *dialogo, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(dialogo, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido), Q_ARG(QString, caminho),
                              Q_ARG(QTableWidget *, dialogo->findChild<QTableWidget *>("tableWidget_dados")));
    return lido;
}

// "Conectar BD", then "Conectar"; the dialog's status line as it was left.
QString TstFalhas::conectar(Finara &w)
{
    RespostaModal resposta;
    QString status;
    resposta.aoAbrir([&](QWidget *d) {
        clicar(d, "pushButton_bd");
        status = d->findChild<QLabel *>("label_status")->text();
        d->close();
    });
    clicar(&w, "pushButton_conectarBD");
    return status;
}

// One use of every window, each as a line: the window, the message boxes it
// showed, the diagnostic lines it wrote (up to their colon) and what it
// listed or wrote. Each window must be done within the driver's timeouts.
QStringList TstFalhas::percorrerJanelas(Finara &w)
{
    QStringList transcricao;
    const QString pequeno = arquivo(QStringLiteral("pequeno.csv"), 3);
    const auto usar = [&](const char *botao, RespostaModal::Acao acao, std::function<QString()> resultado) {
        const int gastosAntes = contagem(QStringLiteral("SELECT COUNT(*) FROM gastos"));
        CapturaDebug debug;
        RespostaModal resposta;
        // A box shown before the dialog itself (a failed first listing) is
        // only closed: the action is for the dialog.
        RespostaModal::Acao noDialogo = [&](QWidget *janela) {
            if (auto *caixa = qobject_cast<QMessageBox *>(janela)) {
                resposta.aoAbrir(noDialogo);
                caixa->reject();
                return;
            }
            acao(janela);
        };
        resposta.aoAbrir(noDialogo);
        QElapsedTimer relogio;
        relogio.start();
        clicar(&w, botao);
        if (relogio.elapsed() > limiteDeEsperaMs)
            transcricao << QStringLiteral("%1 demorou %2 ms").arg(QLatin1String(botao)).arg(relogio.elapsed());
        transcricao << QStringList({QLatin1String(botao), caixas(resposta).join(QLatin1String(", ")),
                                    prefixos(debug.linhas()).join(QLatin1String(", ")), resultado(),
                                    QStringLiteral("gastos %1").arg(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos"))
                                                                    - gastosAntes)})
                           .join(QLatin1String(" / "));
    };
    int linhas = -1;
    QString titulo;
    usar("pushButton_categoria", [&](QWidget *d) {
        d->findChild<QLineEdit *>("lineEdit_categoria")->setText(QStringLiteral("Nova"));
        clicar(d, "pushButton_inserir");
        linhas = d->findChild<QTableView *>("tableView_categoria")->model()->rowCount();
        d->close();
    }, [&] { return QStringLiteral("%1 categorias").arg(linhas); });
    usar("pushButton", [&](QWidget *d) {
        clicar(d, "pushButton_filtro");
        linhas = d->findChild<QTableWidget *>("tableWidget_dados")->rowCount();
        d->close();
    }, [&] { return QStringLiteral("%1 gastos listados").arg(linhas); });
    usar("pushButton_analisar", [&](QWidget *d) {
        auto *relatorio = d->findChild<QTableWidget *>("tableWidget_relatorio");
        linhas = relatorio->rowCount();
        // The detail window of the first sum, built as the report builds it.
        auto *detalhe = new JanelaDetalhe(linhas ? relatorio->item(0, 0)->text().toInt() : 1,
                                          QDate::currentDate(), QStringLiteral("Mercado"), d);
        titulo = detalhe->windowTitle();
        d->close();
    }, [&] { return QStringLiteral("%1 linhas, detalhe \"%2\"").arg(linhas).arg(titulo); });
    usar("pushButton_importarCSV", [&](QWidget *d) {
        carregar(d, pequeno);
        clicar(d, "pushButton_importar");
        d->close();
    }, [] { return QString(); });
    return transcricao;
}

void TstFalhas::importacaoInterrompidaNaoDeixaLinhas_data()
{
    QTest::addColumn<QString>("falha");
    QTest::newRow("servidor morto") << "kill";
    QTest::newRow("servidor parado") << "stop";
}

// The server goes down once the import's transaction has sent rows (seen
// from a separate process while the dialog is busy): the dialog reports,
// and after the restart nothing of the import is in gastos.
void TstFalhas::importacaoInterrompidaNaoDeixaLinhas()
{
    QFETCH(QString, falha);
    const QString grande = arquivo(QStringLiteral("grande.csv"), 50000);
    Finara w;
    QCOMPARE(conectar(w), QStringLiteral("Banco de dados conectado"));

    std::atomic<bool> armado {false};
    std::atomic<int> linhasAoDerrubar {0};
    std::thread vigia([&] {
        while (!armado)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QElapsedTimer relogio;
        relogio.start();
        while (relogio.elapsed() < limiteDeEsperaMs) {
            QProcess cliente;
            cliente.start(QStringLiteral("mariadb"),
                          {QStringLiteral("--no-defaults"), QStringLiteral("--socket=") + BancoTeste::socket(),
                           QStringLiteral("-uroot"), QStringLiteral("-N"), QStringLiteral("-e"),
                           QStringLiteral("SELECT COALESCE(SUM(trx_rows_modified), 0) FROM information_schema.innodb_trx")});
            cliente.waitForFinished();
            const int linhas = cliente.readAllStandardOutput().trimmed().toInt();
            if (linhas > 0) {
                if (servidor(falha))
                    linhasAoDerrubar = linhas;
                return;
            }
        }
    });
    QStringList diagnosticos;
    QStringList caixasVistas;
    bool abertoAposOErro = false;
    {
        CapturaDebug debug;
        RespostaModal resposta;
        resposta.aoAbrir([&](QWidget *d) {
            QVERIFY(carregar(d, grande));
            armado = true;
            clicar(d, "pushButton_importar");
            abertoAposOErro = d->isVisible();
            d->close();
        });
        clicar(&w, "pushButton_importarCSV");
        armado = true;
        vigia.join();
        diagnosticos = debug.linhas();
        caixasVistas = caixas(resposta);
    }

    QVERIFY2(linhasAoDerrubar > 0, "the server was not brought down during the import");
    QVERIFY(abertoAposOErro);
    QCOMPARE(caixasVistas, QStringList({"information|Erro|Erro ao importar arquivo"}));
    QCOMPARE(prefixos(diagnosticos).value(0), QStringLiteral("Erro ao inserir dados"));
    QVERIFY(servidor(QStringLiteral("start")));
    QVERIFY(reabrirAdmin());
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos")), 1);
    qInfo("%d rows sent when the server went down; none kept", int(linhasAoDerrubar));

    // The same main window carries on once connected again.
    QCOMPARE(conectar(w), QStringLiteral("Banco de dados conectado"));
    QCOMPARE(percorrerJanelas(w).last(), QStringLiteral("pushButton_importarCSV /  /  /  / gastos 3"));
}

void TstFalhas::servidorCaiComOProgramaAberto_data()
{
    QTest::addColumn<QString>("falha");
    QTest::newRow("servidor morto") << "kill";
    QTest::newRow("servidor parado") << "stop";
}

// Every window, with the server gone under an open connection, then with
// the connection closed by a failed "Conectar", and again once the server
// is back and "Conectar" has been pressed.
void TstFalhas::servidorCaiComOProgramaAberto()
{
    QFETCH(QString, falha);
    Finara w;
    QCOMPARE(conectar(w), QStringLiteral("Banco de dados conectado"));
    QVERIFY(servidor(falha));

    const QStringList foraDoAr {
        "pushButton_categoria / warning|Erro na Conexão|Erro na leitura do banco de dados, warning|Erro|Erro ao inserir item"
        " / Erro ao executar consulta, Erro ao inserir item na tabela categoria / 0 categorias / gastos 0",
        "pushButton / information|Informação|Erro na leitura do Banco de Dados, information|Informação|Erro na leitura do Banco de Dados"
        " /  / 0 gastos listados / gastos 0",
        "pushButton_analisar /  / Erro ao executar a query, Erro ao executar a query / 0 linhas, detalhe \"\" / gastos 0",
        "pushButton_importarCSV / information|Erro|Erro ao importar arquivo / Erro ao iniciar a transação /  / gastos 0",
    };
    QElapsedTimer relogio;
    relogio.start();
    QCOMPARE(percorrerJanelas(w), foraDoAr);
    QCOMPARE(conectar(w), QStringLiteral("Erro ao conectar Banco de dados"));
    QCOMPARE(percorrerJanelas(w), foraDoAr);
    qInfo("every window twice with the server down: %lld ms", relogio.elapsed());

    QVERIFY(servidor(QStringLiteral("start")));
    QVERIFY(reabrirAdmin());
    QCOMPARE(conectar(w), QStringLiteral("Banco de dados conectado"));
    QCOMPARE(percorrerJanelas(w), QStringList({
        "pushButton_categoria /  / Item inserido com sucesso! / 2 categorias / gastos 0",
        "pushButton /  /  / 1 gastos listados / gastos 0",
        "pushButton_analisar /  /  / 1 linhas, detalhe \"Detalhes para Mercado (" + QDate::currentDate().toString("MM/yyyy")
            + ")\" / gastos 0",
        "pushButton_importarCSV /  /  /  / gastos 3",
    }));
}

void TstFalhas::primeiraConexaoFalha_data()
{
    QTest::addColumn<QString>("falha");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("sem servidor") << "stop" << "Can't connect to server on '127.0.0.1'";
    QTest::newRow("senha trocada no servidor") << "senha" << "Access denied for user 'vestara_tilmo'";
}

// Refused at the first connect: the status line and one diagnostic line
// with the server's reason, and the password nowhere, neither in a log line
// of any kind nor in any text the windows show besides its own masked field.
void TstFalhas::primeiraConexaoFalha()
{
    QFETCH(QString, falha);
    QFETCH(QString, motivo);
    QStringList hashes;
    const QString contaDoHost = QStringLiteral("'%1'@'%2'");
    if (falha == QLatin1String("senha")) {
        for (const char *host : {"127.0.0.1", "localhost"}) {
            hashes << banco->valor(QStringLiteral("SELECT JSON_VALUE(Priv, '$.authentication_string') FROM mysql.global_priv "
                                                  "WHERE User = ? AND Host = ?"), {Conexao::usuario(), host}).toString();
            QVERIFY(banco->executa(QStringLiteral("ALTER USER %1 IDENTIFIED BY 'outra senha'")
                                       .arg(contaDoHost.arg(Conexao::usuario(), host))));
        }
    } else {
        QVERIFY(servidor(falha));
    }

    QStringList mensagens;
    todasAsMensagens = &mensagens;
    QStringList textosVistos;
    QStringList diagnosticos;
    {
        Finara w;
        {
            CapturaDebug debug;
            RespostaModal resposta;
            resposta.aoAbrir([&](QWidget *d) {
                clicar(d, "pushButton_bd");
                clicar(d, "pushButton_bd");
                for (auto *rotulo : d->findChildren<QLabel *>())
                    textosVistos << rotulo->text();
                for (auto *campo : d->findChildren<QLineEdit *>()) {
                    if (campo->objectName() != QLatin1String("lineEdit_senha"))
                        textosVistos << campo->text();
                }
                textosVistos << d->windowTitle();
                d->close();
            });
            clicar(&w, "pushButton_conectarBD");
            diagnosticos = debug.linhas();
        }
        QVERIFY(w.baseDeDados().isValid());
        QVERIFY(!w.baseDeDados().isOpen());
        // Windows opened without a connection report their own failure.
        const QStringList janelas = percorrerJanelas(w);
        QCOMPARE(janelas.size(), 4);
        for (const QString &janela : janelas)
            QVERIFY2(janela.endsWith(QLatin1String("gastos 0")) && janela.contains(QLatin1String("Erro")), qPrintable(janela));
        textosVistos << janelas;
    }
    todasAsMensagens = nullptr;

    QCOMPARE(diagnosticos.size(), 2);
    for (const QString &linha : diagnosticos) {
        QVERIFY2(linha.startsWith(QStringLiteral("Erro ao abrir o banco de dados: \"")), qPrintable(linha));
        QVERIFY2(linha.contains(motivo), qPrintable(linha));
    }
    QVERIFY(textosVistos.contains(QStringLiteral("Erro ao conectar Banco de dados")));
    QVERIFY(mensagens.size() >= diagnosticos.size());
    for (const QString &texto : textosVistos + mensagens)
        QVERIFY2(!texto.contains(Conexao::senha()), qPrintable(texto));

    if (falha == QLatin1String("senha")) {
        for (const char *host : {"127.0.0.1", "localhost"})
            QVERIFY(banco->executa(QStringLiteral("ALTER USER %1 IDENTIFIED BY PASSWORD '%2'")
                                       .arg(contaDoHost.arg(Conexao::usuario(), host), hashes.takeFirst())));
    } else {
        QVERIFY(servidor(QStringLiteral("start")));
        QVERIFY(reabrirAdmin());
    }
    Finara w;
    QCOMPARE(conectar(w), QStringLiteral("Banco de dados conectado"));
}

QTEST_MAIN(TstFalhas)
#include "tst_falhas.moc"
