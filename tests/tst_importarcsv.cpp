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

// The import dialog: preview grid, row removal and writing the grid into a scratch gastos.
class TstImportarCSV : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY2(banco.executa(QStringLiteral("DELETE FROM gastos")), qPrintable(banco.erro())); }
    void leitura_data();
    void leitura();
    void arquivosPeloBotaoERemocao();
    void importacaoQueNaoGrava_data();
    void importacaoQueNaoGrava();
    void listaDeRegistrosGuardaOsAnteriores();
    void importaOExemploPelaJanelaPrincipal();

private:
    QString arquivo(const QByteArray &conteudo)
    {
        QFile f(pasta.filePath(QStringLiteral("%1.csv").arg(qHash(conteudo))));
        if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }
    static QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>("tableWidget_dados"); }
    static void clica(QWidget *d, const char *botao) { d->findChild<QPushButton *>(botao)->click(); }
    static bool carrega(ImportarCSV &d, const QString &caminho)
    {
        bool ok = false;
        QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, ok), Q_ARG(QString, caminho),
                                  Q_ARG(QTableWidget *, grade(&d)));
        return ok;
    }
    static void lerPeloBotao(QWidget *d, RespostaModal &resposta, const QString &caminho)
    {
        resposta.aoAbrir([caminho](QWidget *janela) {
            auto *dialogo = qobject_cast<QFileDialog *>(janela);
            QVERIFY(dialogo && dialogo->nameFilters() == QStringList {"Arquivos de Texto (*.csv)"});
            // selectFile leaves the name field alone while it has the focus.
            if (QWidget *foco = dialogo->focusWidget())
                foco->clearFocus();
            dialogo->selectFile(caminho);
            static_cast<QDialog *>(dialogo)->accept();
        });
        clica(d, "pushButton_lercsv");
    }
    // Rows as "cell|cell|..." ("-" for no item), with "*" in front when all solid red.
    static QStringList linhas(QTableWidget *t)
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
    static QString caixa(const JanelaVista &v) { return QStringList({v.tipo, v.titulo, v.texto}).join('|'); }
    // Through the default connection, whose session sees its own uncommitted rows.
    static int naSessao(const QString &sql) { QSqlQuery q(sql); return q.next() ? q.value(0).toInt() : -1; }
    static int execucoes() { return naSessao("SELECT VARIABLE_VALUE FROM information_schema.SESSION_STATUS "
                                             "WHERE VARIABLE_NAME = 'COM_STMT_EXECUTE'"); }

    BancoTeste banco {QStringLiteral("importarcsv")};
    QSqlDatabase padrao = QSqlDatabase::database();
    QSqlDatabase fechada = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("fechada"));
    QTemporaryDir pasta;
};

void TstImportarCSV::leitura_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QStringList>("esperadas");

    const QByteArray linha("1;A;2;x");
    const QByteArray acucar("1;P\xE3o de A\xE7\xFA" "car;2;Caf\xE9\r\n"); // Windows-1252
    const QString utf16 = QChar(0xFEFF) + QString::fromLatin1(acucar);
    const QStringList lido {QStringLiteral("1|Pão de Açúcar|2|Café")};
    QTest::newRow("vazio") << QByteArray() << QStringList();
    QTest::newRow("só cabeçalho") << QByteArray("Data;Nome;Valor;Descrição\n") << QStringList {"Data|Nome|Valor|Descrição"};
    QTest::newRow("aspas e espaços") << QByteArray(R"(  "05/03/2024" ; " Bar do Zé " ;"R$ 5,00";  )")
                                     << QStringList {"05/03/2024| Bar do Zé |R$ 5,00|"};
    QTest::newRow("linha em branco") << linha + "\n\n" + linha << QStringList {"1|A|2|x", "*|-|-|-", "*1|A|2|x"};
    QTest::newRow("ponto e vírgula entre aspas") << R"("a;b";c;d;e)" "\n" + linha << QStringList {"*a|b|c|d", "*1|A|2|x"};
    QTest::newRow("linha enorme") << linha + "\n" + QByteArray(400 * 1024, 'y')
                                  << QStringList {"1|A|2|x", "*" + QString(400 * 1024, QLatin1Char('y')) + "|-|-|-"};
    QTest::newRow("binário com NUL") << QByteArray("\0\xFF\0;\x80", 5)
                                     << QStringList {QString::fromUtf8("*\0\xC3\xBF\0|\xE2\x82\xAC|-|-", 13)};
    QTest::newRow("Windows-1252") << acucar << lido;
    QTest::newRow("UTF-8") << QString::fromLatin1(acucar).toUtf8() << lido;
    QTest::newRow("UTF-8 com BOM") << "\xEF\xBB\xBF" + QString::fromLatin1(acucar).toUtf8() << lido;
    QTest::newRow("UTF-16 com BOM") << QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2) << lido;
}

void TstImportarCSV::leitura()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QStringList, esperadas);
    ImportarCSV d;
    QCOMPARE(carrega(d, arquivo(conteudo)), esperadas.filter(QRegularExpression("^\\*")).isEmpty());
    QCOMPARE(grade(&d)->horizontalHeaderItem(3)->text(), QStringLiteral("Descrição"));
    QCOMPARE(linhas(grade(&d)), esperadas);
}

// Files stack, newest on top, the error box after the whole file; an unreadable or no
// file leaves the grid alone; a double-click asks before removing a row.
void TstImportarCSV::arquivosPeloBotaoERemocao()
{
    ImportarCSV d;
    d.show();
    QTableWidget *t = grade(&d);
    RespostaModal resposta;
    lerPeloBotao(&d, resposta, arquivo("1;A;1;a\n2;B;2\n3;C;3;c\n"));
    lerPeloBotao(&d, resposta, arquivo("4;D;4;d\n5;E;5;e\n"));
    resposta.aoAbrir([](QWidget *janela) { qobject_cast<QDialog *>(janela)->reject(); });
    clica(&d, "pushButton_lercsv");
    QVERIFY(!carrega(d, pasta.filePath("sumido.csv")) && !carrega(d, pasta.path()));
    resposta.responder(QMessageBox::No);
    resposta.responder(QMessageBox::Yes);
    for (int coluna : {1, 1, 3}) {
        // As the platform delivers a double-click: press, release, double-click.
        const QPoint centro = t->visualRect(t->model()->index(2, coluna)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, centro);
    }

    QCOMPARE(linhas(t), QStringList({"4|D|4|d", "5|E|5|e", "*2|B|2|-", "*3|C|3|c"}));
    QStringList caixas;
    for (const JanelaVista &v : resposta.vistas())
        caixas << (v.pai == t ? "grade " : v.pai == &d ? "" : "? ") + caixa(v);
    const QString pergunta = QStringLiteral("grade question|Confirmar Remoção|Você deseja remover a linha selecionada?");
    QCOMPARE(caixas, QStringList({"|Abrir Arquivo|", "critical|Erro|Erro de leitura no arquivo", "|Abrir Arquivo|",
                                  "|Abrir Arquivo|", "critical|Erro ao selecionar|Você não escolheu um arquivo", pergunta,
                                  pergunta, "information|Nenhuma Seleção|Nenhuma linha foi selecionada."}));
}

void TstImportarCSV::importacaoQueNaoGrava_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<int>("recusada");
    QTest::addColumn<QString>("diagnostico");
    // Statements besides the rows': marking repeated rows (2, when there are rows), opening
    // the import's record (1) and closing it (3).
    QTest::addColumn<int>("outras");

    const QByteArray boa("01/03/2026;A;1,00;a\n"), depois("\n04/03/2026;D;4;d\n");
    QTest::newRow("grade vazia confirma") << QByteArray() << -1 << "^$" << 4;
    for (const char *handle : {"invalido", "fechado", "nenhum"})
        QTest::newRow(handle) << boa << -1 << "^Erro ao iniciar a transação: \"" << 2;
    QTest::newRow("data inválida vira NULL") << boa + "31/02/2026;B;2,00;b" + depois << 1 << "^Erro ao inserir dados: \".*(?i)null" << 3;
    QTest::newRow("valor que não é número, fora da vista") << boa.repeated(150) + "03/03/2026;C;r$ 5,00;c" + depois
                                                           << 150 << "^Erro ao inserir dados: \".*(?i)valor" << 3;
}

// Nothing stays: the grid is empty, the transaction cannot begin, or a row is refused,
// which sends nothing after it and is selected and shown once the error box closes.
void TstImportarCSV::importacaoQueNaoGrava()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(int, recusada);
    QFETCH(QString, diagnostico);
    QFETCH(int, outras);
    const QByteArray handle = QTest::currentDataTag(); // the handle the main window lends
    QSqlDatabase db = handle == "fechado" ? fechada : handle == "invalido" || handle == "nenhum" ? QSqlDatabase() : padrao;
    ImportarCSV d;
    if (handle != "nenhum")
        d.setupData(&db);
    d.show();
    QTableWidget *t = grade(&d);
    carrega(d, arquivo(conteudo));
    const int antes = execucoes();
    CapturaDebug debug;
    RespostaModal resposta;
    int selecionadasDuranteACaixa = -1;
    resposta.aoAbrir([&](QWidget *caixa) { selecionadasDuranteACaixa = t->selectedItems().size(); caixa->close(); });
    clica(&d, "pushButton_importar");

    const bool falhou = !conteudo.isEmpty();
    QCOMPARE(resposta.vistas().size(), 1);
    QCOMPARE(caixa(resposta.vistas().value(0)), falhou ? "information|Erro|Erro ao importar arquivo"
                                                       : "information|Importação concluída|0 gastos gravados, total de R$ 0,00.");
    QCOMPARE(selecionadasDuranteACaixa, 0);
    QCOMPARE(d.isVisible(), falhou);
    QCOMPARE(debug.linhas().size(), int(falhou));
    QVERIFY2(debug.linhas().value(0).contains(QRegularExpression(diagnostico)), qPrintable(debug.linhas().value(0)));
    QCOMPARE(execucoes() - antes, recusada + 1 + outras);
    QCOMPARE(naSessao("SELECT COUNT(*) FROM gastos"), 0);
    const QModelIndex indice = t->model()->index(recusada, 0);
    QCOMPARE(t->selectionModel()->selectedRows(), indice.isValid() ? QModelIndexList {indice} : QModelIndexList());
    QCOMPARE(t->viewport()->rect().contains(t->visualRect(indice)), indice.isValid());
}

// No transaction: the record before the short one stays.
void TstImportarCSV::listaDeRegistrosGuardaOsAnteriores()
{
    CapturaDebug debug;
    ImportarCSV d;
    bool ok = true;
    QVERIFY(QMetaObject::invokeMethod(&d, "insertDataToDatabase", Q_RETURN_ARG(bool, ok), Q_ARG(QList<QStringList>,
        QList<QStringList>({{"2026-03-01", "A", "1.50", "a", "ignorado"}, {"2026-03-02", "B", "2.00"}}))) && !ok);
    QCOMPARE(debug.linhas(), QStringList {"Linha incompleta no CSV."});
    QCOMPARE(banco.valor("SELECT GROUP_CONCAT(data, '|', fornecedor, '|', valor, '|', descricao) FROM gastos").toString(),
             QStringLiteral("2026-03-01|A|1.50|a"));
}

// The sample through the main window, file dialog and import button: every amount
// format to the cent, the empty description stored as '' and not NULL, the dialog closed.
void TstImportarCSV::importaOExemploPelaJanelaPrincipal()
{
    Finara w;
    RespostaModal resposta;
    resposta.aoAbrir([&](QWidget *janela) {
        auto *d = qobject_cast<ImportarCSV *>(janela);
        QVERIFY(d);
        // The main window, not connected, lends an invalid handle: the test's stands in.
        d->setupData(&padrao);
        lerPeloBotao(d, resposta, QStringLiteral(FINARA_SAMPLES "/extrato-exemplo.csv"));
        clica(d, "pushButton_importar");
        QVERIFY(!d->isVisible());
    });
    clica(&w, "pushButton_importarCSV");

    QCOMPARE(resposta.vistas().size(), 3); // the import dialog, the file dialog and the summary
    QCOMPARE(banco.valor("SELECT CONCAT_WS('|', COUNT(*), SUM(valor), MIN(data), MAX(data), SUM(descricao = ''), "
                          "SUM(valor = 12.5), SUM(fornecedor = 'Supermercado Pão de Açúcar')) FROM gastos").toString(),
             QStringLiteral("86|29604.49|2026-09-01|2026-11-30|1|1|6"));
}

QTEST_MAIN(TstImportarCSV)
#include "tst_importarcsv.moc"
