#include "app/finara.h"
#include "categories/categoria.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

// The category dialog against its own scratch database, with the boxes it
// opens answered and its debug lines captured.
class TstCategoria : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void abertoPelaJanelaPrincipalListaOrdenado();
    void insereONomeExato_data();
    void insereONomeExato();
    void insercaoRecusadaAvisaEMantemALista_data();
    void insercaoRecusadaAvisaEMantemALista();
    void campoVazioOuCliqueForaNaoFazemNada();
    void apagaSoDepoisDeConfirmar_data();
    void apagaSoDepoisDeConfirmar();
    void falhaAoApagarAvisaEMantemALista_data();
    void falhaAoApagarAvisaEMantemALista();
    void falhaNaListaAoAbrirAvisaESegueUtilizavel_data();
    void falhaNaListaAoAbrirAvisaESegueUtilizavel();

private:
    enum Falha { TabelaAusente, ConexaoFechada, SemConexao };
    void provocar(int falha);
    QStringList nomesNoBanco() const;
    static QTableView *tabela(QWidget *d) { return d->findChild<QTableView *>("tableView_categoria"); }
    static QStringList nomesNaLista(QWidget *d);
    static QSet<QString> conjunto(const QStringList &nomes) { return {nomes.begin(), nomes.end()}; }
    static void inserir(QWidget *d, const QString &texto);
    static void duploCliqueEm(QWidget *d, const QString &nome);
    static void okAnotando(RespostaModal &resposta, const CapturaDebug &debug, QStringList *antes);
    static QStringList caixa(const JanelaVista &v) { return {v.tipo, v.titulo, v.texto}; }

    BancoTeste *banco = nullptr;
    bool tabelaRenomeada = false;
    // Inserted in this order, so the keys do not follow the names.
    const QStringList iniciais {"Mercado", "aluguel", "Lazer"};
    const QStringList ordenados {"aluguel", "Lazer", "Mercado"};
};

void TstCategoria::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("categoria"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
}

void TstCategoria::cleanupTestCase()
{
    delete banco;
}

void TstCategoria::init()
{
    QVERIFY(banco->executa(QStringLiteral("DELETE FROM categoria")));
    for (const QString &nome : iniciais)
        QVERIFY(banco->executa(QStringLiteral("INSERT INTO categoria (categoria) VALUES (?)"), {nome}));
}

void TstCategoria::cleanup()
{
    if (tabelaRenomeada)
        QVERIFY(banco->executa(QStringLiteral("RENAME TABLE categoria_fora TO categoria")));
    tabelaRenomeada = false;
    if (!QSqlDatabase::database(QSqlDatabase::defaultConnection, false).isOpen())
        QVERIFY(banco->abrirPadrao());
}

void TstCategoria::provocar(int falha)
{
    if (falha == TabelaAusente) {
        QVERIFY(banco->executa(QStringLiteral("RENAME TABLE categoria TO categoria_fora")));
        tabelaRenomeada = true;
    } else if (falha == ConexaoFechada) {
        QSqlDatabase::database(QSqlDatabase::defaultConnection, false).close();
    } else {
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    }
}

QStringList TstCategoria::nomesNoBanco() const
{
    QSqlQuery q(banco->admin());
    QStringList nomes;
    if (!q.exec(QStringLiteral("SELECT categoria FROM categoria ORDER BY idCategoria")))
        return {QStringLiteral("<falhou a leitura>")};
    while (q.next())
        nomes << q.value(0).toString();
    return nomes;
}

QStringList TstCategoria::nomesNaLista(QWidget *d)
{
    const QAbstractItemModel *modelo = tabela(d)->model();
    QStringList nomes;
    for (int linha = 0; linha < modelo->rowCount(); ++linha)
        nomes << modelo->index(linha, 1).data().toString();
    return nomes;
}

void TstCategoria::inserir(QWidget *d, const QString &texto)
{
    d->findChild<QLineEdit *>("lineEdit_categoria")->setText(texto);
    d->findChild<QPushButton *>("pushButton_inserir")->click();
}

// A real double-click on the name's cell of the shown dialog.
void TstCategoria::duploCliqueEm(QWidget *d, const QString &nome)
{
    QTableView *t = tabela(d);
    const int linha = nomesNaLista(d).indexOf(nome);
    QVERIFY(linha >= 0);
    const QPoint centro = t->visualRect(t->model()->index(linha, 1)).center();
    QTest::mouseDClick(d->windowHandle(), Qt::LeftButton, {}, t->viewport()->mapTo(d, centro));
}

// Answers the next box with Ok and keeps the debug lines written before it.
void TstCategoria::okAnotando(RespostaModal &resposta, const CapturaDebug &debug, QStringList *antes)
{
    *antes = QStringList({"<caixa não vista>"});
    resposta.aoAbrir([&debug, antes](QWidget *janela) {
        *antes = debug.linhas();
        qobject_cast<QMessageBox *>(janela)->button(QMessageBox::Ok)->click();
    });
}

void TstCategoria::abertoPelaJanelaPrincipalListaOrdenado()
{
    Finara w;
    RespostaModal resposta;
    QStringList aoAbrir, aposInserir, foco;
    bool modal = false, chaveOculta = false;
    resposta.aoAbrir([&](QWidget *d) {
        modal = d->isModal();
        aoAbrir = nomesNaLista(d);
        for (QWidget *x = d->findChild<QPushButton *>("pushButton_inserir"); foco.size() < 3;
             x = x->nextInFocusChain())
            foco << x->objectName();
        inserir(d, QStringLiteral("Banco"));
        aposInserir = nomesNaLista(d);
        chaveOculta = tabela(d)->isColumnHidden(0);
        d->close();
    });
    auto *botao = w.findChild<QPushButton *>("pushButton_categoria");
    botao->click();
    QCOMPARE(resposta.vistas().size(), 1);
    QCOMPARE(resposta.vistas().first().classe, QStringLiteral("Categoria"));
    QVERIFY(modal);
    QCOMPARE(aoAbrir, ordenados);
    QCOMPARE(foco, QStringList({"pushButton_inserir", "lineEdit_categoria", "tableView_categoria"}));
    // The list read after a change is unsorted: only its content is known.
    const QStringList comBanco {"aluguel", "Banco", "Lazer", "Mercado"};
    QCOMPARE(conjunto(aposInserir), conjunto(comBanco));
    QVERIFY(chaveOculta);

    resposta.aoAbrir([&](QWidget *d) {
        aoAbrir = nomesNaLista(d);
        d->close();
    });
    botao->click();
    QCOMPARE(aoAbrir, comBanco);
}

void TstCategoria::insereONomeExato_data()
{
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("gravado");
    QTest::newRow("espaços em volta") << "  Farmácia \t" << "Farmácia";
    QTest::newRow("aspas") << "O'Brien \"Bar\"" << "O'Brien \"Bar\"";
    QTest::newRow("injeção") << "x'); DROP TABLE categoria; --" << "x'); DROP TABLE categoria; --";
    QTest::newRow("barras e curingas") << "C:\\temp\\%_" << "C:\\temp\\%_";
    QTest::newRow("palavras-chave") << "SELECT * FROM gastos" << "SELECT * FROM gastos";
    QTest::newRow("acentos") << "Educação & Saúde" << "Educação & Saúde";
    QTest::newRow("quatro bytes") << "Lazer 🎉" << "Lazer 🎉";
    const QString cemCaracteres = QString(99, QLatin1Char('a')) + QStringLiteral("ç");
    QTest::newRow("100 caracteres") << cemCaracteres << cemCaracteres;
}

void TstCategoria::insereONomeExato()
{
    QFETCH(QString, digitado);
    QFETCH(QString, gravado);
    Categoria d;
    d.setupData();
    CapturaDebug debug;
    RespostaModal resposta;
    inserir(&d, digitado);

    QVERIFY(resposta.vistas().isEmpty());
    QCOMPARE(debug.linhas(), QStringList({"Item inserido com sucesso!"}));
    QVERIFY(d.findChild<QLineEdit *>("lineEdit_categoria")->text().isEmpty());
    QCOMPARE(nomesNoBanco(), iniciais + QStringList({gravado}));
    QCOMPARE(conjunto(nomesNaLista(&d)), conjunto(iniciais + QStringList({gravado})));
}

void TstCategoria::insercaoRecusadaAvisaEMantemALista_data()
{
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("repetido") << "Lazer" << "Duplicate entry";
    QTest::newRow("repetido em outra caixa") << " mercado " << "Duplicate entry";
    QTest::newRow("só espaços") << "   " << "ck_categoria_nome";
    QTest::newRow("1000 caracteres") << QString(1000, QLatin1Char('n')) << "Data too long";
}

void TstCategoria::insercaoRecusadaAvisaEMantemALista()
{
    QFETCH(QString, digitado);
    QFETCH(QString, motivo);
    Categoria d;
    d.setupData();
    CapturaDebug debug;
    RespostaModal resposta;
    QStringList antesDaCaixa;
    okAnotando(resposta, debug, &antesDaCaixa);
    inserir(&d, digitado);

    QCOMPARE(resposta.vistas().size(), 1);
    QCOMPARE(caixa(resposta.vistas().first()), QStringList({"warning", "Erro", "Erro ao inserir item"}));
    QCOMPARE(resposta.vistas().first().botoes, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(antesDaCaixa.isEmpty());
    QCOMPARE(debug.linhas().size(), 1);
    QVERIFY(debug.linhas().first().startsWith(QStringLiteral("Erro ao inserir item na tabela categoria: \"")));
    QVERIFY2(debug.linhas().first().contains(motivo), qPrintable(debug.linhas().first()));
    QVERIFY(d.findChild<QLineEdit *>("lineEdit_categoria")->text().isEmpty());
    QCOMPARE(nomesNaLista(&d), ordenados);
    QCOMPARE(nomesNoBanco(), iniciais);
}

void TstCategoria::campoVazioOuCliqueForaNaoFazemNada()
{
    Categoria d;
    d.setupData();
    CapturaDebug debug;
    RespostaModal resposta;
    inserir(&d, QString());
    emit tabela(&d)->doubleClicked(QModelIndex());
    QVERIFY(resposta.vistas().isEmpty());
    QVERIFY(debug.linhas().isEmpty());
    QCOMPARE(nomesNoBanco(), iniciais);
}

void TstCategoria::apagaSoDepoisDeConfirmar_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("resposta");
    QTest::addColumn<QStringList>("restantes");
    QTest::newRow("sim") << QMessageBox::Yes << QStringList({"Mercado", "aluguel"});
    QTest::newRow("não") << QMessageBox::No << iniciais;
}

void TstCategoria::apagaSoDepoisDeConfirmar()
{
    QFETCH(QMessageBox::StandardButton, resposta);
    QFETCH(QStringList, restantes);
    Categoria d;
    d.setupData();
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    CapturaDebug debug;
    RespostaModal modal;
    modal.responder(resposta);
    // In the middle of the sorted list, with the last key.
    duploCliqueEm(&d, QStringLiteral("Lazer"));

    QCOMPARE(modal.vistas().size(), 1);
    QCOMPARE(caixa(modal.vistas().first()),
             QStringList({"question", "Apagar Item", "Deseja realmente apagar este item?"}));
    QCOMPARE(modal.vistas().first().botoes, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(debug.linhas().isEmpty());
    QCOMPARE(nomesNoBanco(), restantes);
    QCOMPARE(conjunto(nomesNaLista(&d)), conjunto(restantes));
    QVERIFY(tabela(&d)->isColumnHidden(0));
}

void TstCategoria::falhaAoApagarAvisaEMantemALista_data()
{
    QTest::addColumn<int>("falha");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("tabela ausente") << int(TabelaAusente) << "doesn't exist";
    QTest::newRow("conexão fechada") << int(ConexaoFechada) << "";
}

void TstCategoria::falhaAoApagarAvisaEMantemALista()
{
    QFETCH(int, falha);
    QFETCH(QString, motivo);
    Categoria d;
    d.setupData();
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    provocar(falha);
    CapturaDebug debug;
    RespostaModal modal;
    QStringList antesDaCaixa;
    modal.responder(QMessageBox::Yes);
    okAnotando(modal, debug, &antesDaCaixa);
    duploCliqueEm(&d, QStringLiteral("Lazer"));

    QCOMPARE(modal.vistas().size(), 2);
    QCOMPARE(caixa(modal.vistas().at(1)), QStringList({"warning", "Erro", "Erro ao apagar item"}));
    QCOMPARE(modal.vistas().at(1).botoes, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(antesDaCaixa.isEmpty());
    QCOMPARE(debug.linhas().size(), 1);
    QVERIFY(debug.linhas().first().startsWith(QStringLiteral("Erro ao apagar item: \"")));
    QVERIFY2(debug.linhas().first().contains(motivo), qPrintable(debug.linhas().first()));
    QCOMPARE(nomesNaLista(&d), ordenados);
}

void TstCategoria::falhaNaListaAoAbrirAvisaESegueUtilizavel_data()
{
    QTest::addColumn<int>("falha");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("nenhuma conexão") << int(SemConexao) << "Driver not loaded";
    // A closed connection fails the statement without any error text.
    QTest::newRow("conexão fechada") << int(ConexaoFechada) << "";
}

void TstCategoria::falhaNaListaAoAbrirAvisaESegueUtilizavel()
{
    QFETCH(int, falha);
    QFETCH(QString, motivo);
    provocar(falha);
    CapturaDebug debug;
    RespostaModal modal;
    QStringList antesDaCaixa;
    okAnotando(modal, debug, &antesDaCaixa);
    Categoria d;
    d.setupData();

    QCOMPARE(modal.vistas().size(), 1);
    QCOMPARE(caixa(modal.vistas().first()),
             QStringList({"warning", "Erro na Conexão", "Erro na leitura do banco de dados"}));
    QCOMPARE(modal.vistas().first().botoes, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(antesDaCaixa.size(), 1);
    QVERIFY(antesDaCaixa.first().startsWith(QStringLiteral("Erro ao executar consulta: \"")));
    QVERIFY2(antesDaCaixa.first().contains(motivo), qPrintable(antesDaCaixa.first()));
    QCOMPARE(tabela(&d)->model()->rowCount(), 0);

    // Once connected, the same dialog inserts and lists, key hidden.
    QVERIFY(banco->abrirPadrao());
    inserir(&d, QStringLiteral("Nova"));
    QCOMPARE(conjunto(nomesNaLista(&d)), conjunto(iniciais + QStringList({"Nova"})));
    QVERIFY(tabela(&d)->isColumnHidden(0));
}

QTEST_MAIN(TstCategoria)
#include "tst_categoria.moc"
