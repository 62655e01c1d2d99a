#include "app/finara.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QFileDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// The import dialog: statements read into the preview grid, rows removed,
// and the grid written into gastos of a scratch database.
class TstImportarCSV : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { QVERIFY(banco->executa(QStringLiteral("DELETE FROM gastos"))); }
    void leitura_data();
    void leitura();
    void arquivoIlegivelNaoTocaAGrade();
    void arquivosPeloBotaoEmpilham();
    void remocao_data();
    void remocao();
    void transacaoSemLinhas_data();
    void transacaoSemLinhas();
    void recusaDesfazTudoEMostraALinha_data();
    void recusaDesfazTudoEMostraALinha();
    void listaDeRegistrosGuardaOsAnteriores();
    void importaOExemploPelaJanelaPrincipal();

private:
    QString arquivo(const QByteArray &conteudo);
    static QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>("tableWidget_dados"); }
    static void clica(QWidget *d, const char *botao) { d->findChild<QPushButton *>(botao)->click(); }
    static bool carrega(ImportarCSV &d, const QString &caminho);
    static void lerPeloBotao(QWidget *d, RespostaModal &resposta, const QString &caminho);
    static QStringList linhas(QTableWidget *t);
    static QString caixa(const JanelaVista &v) { return QStringList({v.tipo, v.titulo, v.texto}).join('|'); }
    // Through the default connection, whose session sees its own uncommitted rows.
    static int naSessao(const QString &sql);
    static int gastos() { return naSessao("SELECT COUNT(*) FROM gastos"); }
    static int execucoes()
    {
        return naSessao("SELECT VARIABLE_VALUE FROM information_schema.SESSION_STATUS "
                        "WHERE VARIABLE_NAME = 'COM_STMT_EXECUTE'");
    }

    BancoTeste *banco = nullptr;
    QTemporaryDir pasta;
    QSqlDatabase padrao;
    int arquivos = 0;
};

void TstImportarCSV::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("importarcsv"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    padrao = QSqlDatabase::database();
}

void TstImportarCSV::cleanupTestCase()
{
    padrao = QSqlDatabase();
    delete banco;
}

QString TstImportarCSV::arquivo(const QByteArray &conteudo)
{
    QFile f(pasta.filePath(QStringLiteral("%1.csv").arg(++arquivos)));
    if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
    return f.fileName();
}

bool TstImportarCSV::carrega(ImportarCSV &d, const QString &caminho)
{
    bool ok = false;
    QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, ok), Q_ARG(QString, caminho),
                              Q_ARG(QTableWidget *, grade(&d)));
    return ok;
}

// Picks the file in the (non-native) file dialog the button opens.
void TstImportarCSV::lerPeloBotao(QWidget *d, RespostaModal &resposta, const QString &caminho)
{
    resposta.aoAbrir([caminho](QWidget *janela) {
        auto *dialogo = qobject_cast<QFileDialog *>(janela);
        QVERIFY(dialogo);
        QCOMPARE(dialogo->nameFilters(), QStringList {"Arquivos de Texto (*.csv)"});
        // selectFile leaves the name field alone while it has the focus.
        if (QWidget *foco = dialogo->focusWidget())
            foco->clearFocus();
        dialogo->selectFile(caminho);
        static_cast<QDialog *>(dialogo)->accept();
    });
    clica(d, "pushButton_lercsv");
}

// Each row as its cells joined by "|", "-" for a cell without an item, with
// "*" in front when every item is solid red.
QStringList TstImportarCSV::linhas(QTableWidget *t)
{
    QStringList resultado;
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList celulas;
        bool vermelha = true;
        for (int c = 0; c < t->columnCount(); ++c) {
            const QTableWidgetItem *item = t->item(r, c);
            celulas << (item ? item->text() : QStringLiteral("-"));
            vermelha = vermelha && (!item || item->background() == QBrush(Qt::red, Qt::SolidPattern));
        }
        resultado << (vermelha ? QStringLiteral("*") : QString()) + celulas.join(QLatin1Char('|'));
    }
    return resultado;
}

int TstImportarCSV::naSessao(const QString &sql)
{
    QSqlQuery q(sql);
    return q.next() ? q.value(0).toInt() : -1;
}

void TstImportarCSV::leitura_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<bool>("lido");
    QTest::addColumn<QStringList>("esperadas");

    const QByteArray linha("1;A;2;x");
    const QByteArray acucar("1;P\xE3o de A\xE7\xFA" "car;2;Caf\xE9\r\n"); // Windows-1252
    const QString utf16 = QChar(0xFEFF) + QString::fromLatin1(acucar);
    const QStringList lido {QStringLiteral("1|Pão de Açúcar|2|Café")};
    QTest::newRow("vazio") << QByteArray() << true << QStringList();
    QTest::newRow("só cabeçalho") << QByteArray("Data;Nome;Valor;Descrição\n") << true
                                  << QStringList {"Data|Nome|Valor|Descrição"};
    QTest::newRow("aspas e espaços") << QByteArray(R"(  "05/03/2024" ; " Bar do Zé " ;"R$ 5,00";  )") << true
                                     << QStringList {"05/03/2024| Bar do Zé |R$ 5,00|"};
    QTest::newRow("linha em branco") << linha + "\n\n" + linha << false << QStringList {"1|A|2|x", "*|-|-|-", "*1|A|2|x"};
    QTest::newRow("ponto e vírgula entre aspas") << R"("a;b";c;d;e)" "\n" + linha << false
                                                 << QStringList {"*a|b|c|d", "*1|A|2|x"};
    QTest::newRow("linha enorme") << linha + "\n" + QByteArray(400 * 1024, 'y') << false
                                  << QStringList {"1|A|2|x", "*" + QString(400 * 1024, QLatin1Char('y')) + "|-|-|-"};
    QTest::newRow("binário com NUL") << QByteArray("\0\xFF\0;\x80", 5) << false
                                     << QStringList {QString::fromUtf8("*\0\xC3\xBF\0|\xE2\x82\xAC|-|-", 13)};
    QTest::newRow("Windows-1252") << acucar << true << lido;
    QTest::newRow("UTF-8") << QString::fromLatin1(acucar).toUtf8() << true << lido;
    QTest::newRow("UTF-8 com BOM") << "\xEF\xBB\xBF" + QString::fromLatin1(acucar).toUtf8() << true << lido;
    QTest::newRow("UTF-16 com BOM") << QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)
                                    << true << lido;
}

void TstImportarCSV::leitura()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(bool, lido);
    QFETCH(QStringList, esperadas);
    ImportarCSV d;
    QCOMPARE(carrega(d, arquivo(conteudo)), lido);
    QCOMPARE(grade(&d)->horizontalHeaderItem(3)->text(), QStringLiteral("Descrição"));
    QCOMPARE(linhas(grade(&d)), esperadas);
}

void TstImportarCSV::arquivoIlegivelNaoTocaAGrade()
{
    ImportarCSV d;
    QVERIFY(!carrega(d, pasta.filePath("sumido.csv")));
    QVERIFY(!carrega(d, pasta.path()));
    QCOMPARE(grade(&d)->columnCount(), 0);
}

// A second file's rows stand above the first's; the error box comes after
// the whole file; cancelling the choice leaves the grid alone.
void TstImportarCSV::arquivosPeloBotaoEmpilham()
{
    ImportarCSV d;
    d.show();
    RespostaModal resposta;
    lerPeloBotao(&d, resposta, arquivo("1;A;1;a\n2;B;2\n3;C;3;c\n"));
    lerPeloBotao(&d, resposta, arquivo("4;D;4;d\n5;E;5;e\n"));
    resposta.aoAbrir([](QWidget *janela) { qobject_cast<QDialog *>(janela)->reject(); });
    clica(&d, "pushButton_lercsv");

    QCOMPARE(linhas(grade(&d)), QStringList({"4|D|4|d", "5|E|5|e", "1|A|1|a", "*2|B|2|-", "*3|C|3|c"}));
    QCOMPARE(resposta.vistas().size(), 5);
    QCOMPARE(caixa(resposta.vistas().at(1)), QStringLiteral("critical|Erro|Erro de leitura no arquivo"));
    QCOMPARE(caixa(resposta.vistas().at(4)), QStringLiteral("critical|Erro ao selecionar|Você não escolheu um arquivo"));
    for (int i : {1, 4}) {
        QCOMPARE(resposta.vistas().at(i).botoes, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(resposta.vistas().at(i).pai, &d);
    }
}

void TstImportarCSV::remocao_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<int>("resposta");
    QTest::addColumn<QString>("caixa");
    QTest::addColumn<QStringList>("restantes");

    const QString pergunta = QStringLiteral("question|Confirmar Remoção|Você deseja remover a linha selecionada?");
    QTest::newRow("sim") << 1 << int(QMessageBox::Yes) << pergunta << QStringList {"A", "B", "D"};
    QTest::newRow("não") << 1 << int(QMessageBox::No) << pergunta << QStringList {"A", "B", "C", "D"};
    QTest::newRow("célula sem item") << 3 << int(QMessageBox::Ok)
                                     << "information|Nenhuma Seleção|Nenhuma linha foi selecionada."
                                     << QStringList {"A", "B", "C", "D"};
}

void TstImportarCSV::remocao()
{
    QFETCH(int, coluna);
    QFETCH(int, resposta);
    QFETCH(QString, caixa);
    QFETCH(QStringList, restantes);
    ImportarCSV d;
    d.show();
    QTableWidget *t = grade(&d);
    carrega(d, arquivo("1;A;1;a\n2;B;2;b\n3;C;3\n4;D;4;d\n"));
    RespostaModal respostas;
    respostas.responder(QMessageBox::StandardButton(resposta));
    // As the platform delivers a double-click: press, release, double-click.
    const QPoint centro = t->visualRect(t->model()->index(2, coluna)).center();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro);
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, centro);

    QCOMPARE(respostas.vistas().size(), 1);
    QCOMPARE(TstImportarCSV::caixa(respostas.vistas().first()), caixa);
    QCOMPARE(respostas.vistas().first().pai, coluna == 1 ? static_cast<QWidget *>(t) : &d);
    QStringList nomes;
    for (int r = 0; r < t->rowCount(); ++r)
        nomes << t->item(r, 1)->text();
    QCOMPARE(nomes, restantes);
}

void TstImportarCSV::transacaoSemLinhas_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("diagnostico");

    QTest::newRow("grade vazia confirma") << "padrao" << QByteArray() << QString();
    for (const char *handle : {"invalido", "fechado", "nenhum"})
        QTest::newRow(handle) << handle << QByteArray("01/03/2026;A;1,00;a\n") << "Erro ao iniciar a transação: \"";
}

// Nothing is sent: the grid is empty, or the transaction cannot begin
// (though the default connection the statements would use is open).
void TstImportarCSV::transacaoSemLinhas()
{
    QFETCH(QString, handle);
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, diagnostico);
    {
        QSqlDatabase db = handle == QLatin1String("padrao") ? padrao
                          : handle == QLatin1String("fechado") ? QSqlDatabase::addDatabase("QMYSQL", "fechada")
                                                               : QSqlDatabase();
        ImportarCSV d;
        if (handle != QLatin1String("nenhum"))
            d.setupData(&db);
        d.show();
        carrega(d, arquivo(conteudo));
        const int antes = execucoes();
        CapturaDebug debug;
        RespostaModal resposta;
        clica(&d, "pushButton_importar");

        const bool falhou = !diagnostico.isNull();
        QCOMPARE(resposta.textos(), falhou ? QStringList {"Erro ao importar arquivo"} : QStringList());
        QCOMPARE(d.isVisible(), falhou);
        QCOMPARE(debug.linhas().size(), int(falhou));
        if (falhou)
            QVERIFY2(debug.linhas().first().startsWith(diagnostico), qPrintable(debug.linhas().first()));
        QCOMPARE(execucoes(), antes);
        QCOMPARE(gastos(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fechada"));
}

void TstImportarCSV::recusaDesfazTudoEMostraALinha_data()
{
    QTest::addColumn<int>("recusada");
    QTest::addColumn<QByteArray>("linhaRecusada");
    QTest::addColumn<QString>("erro");

    QTest::newRow("data inválida vira NULL") << 1 << QByteArray("31/02/2026;B;2,00;b") << "null";
    QTest::newRow("valor que não é número, fora da vista") << 150 << QByteArray("03/03/2026;C;r$ 5,00;c") << "valor";
}

// The refused row ends the import: nothing stays, later rows are never
// sent, and the row is selected and shown once the error box is closed.
void TstImportarCSV::recusaDesfazTudoEMostraALinha()
{
    QFETCH(int, recusada);
    QFETCH(QByteArray, linhaRecusada);
    QFETCH(QString, erro);
    ImportarCSV d;
    d.setupData(&padrao);
    d.show();
    QTableWidget *t = grade(&d);
    carrega(d, arquivo(QByteArray("01/03/2026;A;1,00;a\n").repeated(recusada) + linhaRecusada + "\n04/03/2026;D;4;d\n"));
    const int antes = execucoes();
    CapturaDebug debug;
    RespostaModal resposta;
    int selecionadasDuranteACaixa = -1;
    resposta.aoAbrir([&](QWidget *caixa) {
        selecionadasDuranteACaixa = t->selectedItems().size();
        qobject_cast<QMessageBox *>(caixa)->button(QMessageBox::Ok)->click();
    });
    clica(&d, "pushButton_importar");

    QCOMPARE(caixa(resposta.vistas().value(0)), QStringLiteral("information|Erro|Erro ao importar arquivo"));
    QCOMPARE(debug.linhas().size(), 1);
    QVERIFY2(debug.linhas().first().startsWith("Erro ao inserir dados: \""), qPrintable(debug.linhas().first()));
    QVERIFY2(debug.linhas().first().contains(erro, Qt::CaseInsensitive), qPrintable(debug.linhas().first()));
    QCOMPARE(execucoes() - antes, recusada + 1);
    QCOMPARE(gastos(), 0);
    QVERIFY(d.isVisible());
    QCOMPARE(t->rowCount(), recusada + 2);
    QCOMPARE(selecionadasDuranteACaixa, 0);
    QCOMPARE(t->selectionModel()->selectedRows(), QModelIndexList {t->model()->index(recusada, 0)});
    QVERIFY(t->viewport()->rect().contains(t->visualRect(t->model()->index(recusada, 0))));
}

// No transaction: the record before the short one stays.
void TstImportarCSV::listaDeRegistrosGuardaOsAnteriores()
{
    QVERIFY(QMetaType::type("QList<QStringList>") != QMetaType::UnknownType);
    const QList<QStringList> registros {{"2026-03-01", "A", "1.50", "a", "ignorado"}, {"2026-03-02", "B", "2.00"}};
    CapturaDebug debug;
    ImportarCSV d;
    bool ok = true;
    QVERIFY(QMetaObject::invokeMethod(&d, "insertDataToDatabase", Q_RETURN_ARG(bool, ok),
                                      Q_ARG(QList<QStringList>, registros)));
    QVERIFY(!ok);
    QCOMPARE(debug.linhas(), QStringList {"Linha incompleta no CSV."});
    QCOMPARE(banco->valor("SELECT GROUP_CONCAT(data, '|', fornecedor, '|', valor, '|', descricao) FROM gastos").toString(),
             QStringLiteral("2026-03-01|A|1.50|a"));
}

// The sample statement through the main window's button, the file dialog
// and the import button: every amount format to the cent, the empty
// description stored as '' and not NULL, the dialog closed.
void TstImportarCSV::importaOExemploPelaJanelaPrincipal()
{
    Finara w;
    RespostaModal resposta;
    resposta.aoAbrir([&](QWidget *janela) {
        auto *d = qobject_cast<ImportarCSV *>(janela);
        QVERIFY(d);
        // The main window has not connected and lends an invalid handle; the
        // test's own connection stands in.
        d->setupData(&padrao);
        lerPeloBotao(d, resposta, QStringLiteral(FINARA_SAMPLES "/extrato-exemplo.csv"));
        clica(d, "pushButton_importar");
        QVERIFY(!d->isVisible());
    });
    clica(&w, "pushButton_importarCSV");

    QCOMPARE(resposta.vistas().size(), 2); // the import dialog and the file dialog
    QCOMPARE(banco->valor("SELECT CONCAT_WS('|', COUNT(*), SUM(valor), MIN(data), MAX(data), SUM(descricao = ''), "
                          "SUM(valor = 12.5), SUM(fornecedor = 'Supermercado Pão de Açúcar')) FROM gastos").toString(),
             QStringLiteral("86|29604.49|2026-09-01|2026-11-30|1|1|6"));
}

QTEST_MAIN(TstImportarCSV)
#include "tst_importarcsv.moc"
