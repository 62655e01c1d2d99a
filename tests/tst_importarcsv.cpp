#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

#include <sys/stat.h>

namespace {

QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>("tableWidget_dados"); }

bool carregar(ImportarCSV &d, const QString &caminho)
{
    bool lido = false;
    QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, caminho), Q_ARG(QTableWidget *, grade(&d)));
    return lido;
}

// As the platform delivers a double-click: press, release, double-click.
void duploClique(QTableWidget *t, int linha)
{
    const QPoint centro = t->visualRect(t->model()->index(linha, 1)).center();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro);
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, centro);
}

} // namespace

// The import dialog: preview grid, row removal and writing the grid into a scratch gastos.
class TstImportarCSV : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("importarcsv")};
    QSqlDatabase padrao = QSqlDatabase::database();
    QTemporaryDir pasta;

    QString extrato(const QByteArray &conteudo) { return gravarExtrato(pasta.path(), conteudo); }

private slots:
    void init() { QVERIFY2(banco.esvaziar(), qPrintable(banco.erro())); }

    void leitura_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QStringList>("esperadas"); // above the earlier file's row
        const QByteArray linha("1;A;2;x");
        const QByteArray acucar("1;P\xE3o de A\xE7\xFA" "car;2;Caf\xE9\r\n"); // Windows-1252
        const QString utf16 = QChar(0xFEFF) + QString::fromLatin1(acucar);
        const QStringList lida {"1|Pão de Açúcar|2|Café"};
        QTest::newRow("vazio") << QByteArray() << QStringList();
        QTest::newRow("aspas e espaços") << QByteArray(R"(  "05/03/2024" ; " Bar do Zé " ;"R$ 5,00";  )")
                                         << QStringList {"05/03/2024| Bar do Zé |R$ 5,00|"};
        QTest::newRow("vermelha da linha em branco em diante")
            << linha + "\n\n" + linha << QStringList {"1|A|2|x", "*|-|-|-", "*1|A|2|x"};
        QTest::newRow("ponto e vírgula entre aspas") << R"("a;b";c;d;e)" "\n" + linha
                                                     << QStringList {"*a|b|c|d", "*1|A|2|x"};
        QTest::newRow("linha enorme") << linha + "\n" + QByteArray(400 * 1024, 'y')
            << QStringList {"1|A|2|x", "*" + QString(400 * 1024, QLatin1Char('y')) + "|-|-|-"};
        QTest::newRow("binário com NUL") << QByteArray("\0\xFF\0;\x80", 5)
                                         << QStringList {QString::fromUtf8("*\0\xC3\xBF\0|\xE2\x82\xAC|-|-", 13)};
        QTest::newRow("Windows-1252") << acucar << lida;
        QTest::newRow("UTF-8") << QString::fromLatin1(acucar).toUtf8() << lida;
        QTest::newRow("UTF-8 com BOM") << "\xEF\xBB\xBF" + QString::fromLatin1(acucar).toUtf8() << lida;
        QTest::newRow("UTF-16 com BOM")
            << QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2) << lida;
    }

    // Each file goes in above the rows already there, red from its first line without four
    // fields on.
    void leitura()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(QStringList, esperadas);
        ImportarCSV d;
        QVERIFY(carregar(d, extrato("0;Z;0;z")));
        QCOMPARE(carregar(d, extrato(conteudo)), esperadas.filter(QRegularExpression("^\\*")).isEmpty());
        QCOMPARE(linhasDaGrade(grade(&d)), esperadas << "0|Z|0|z");
    }

    // "Ler CSV": no file chosen, a file that is no regular file (reading a pipe or a device
    // would never end), then a double-click asks before removing the row: "No" keeps it.
    void arquivosERemocao()
    {
        const QString fifo = pasta.filePath(QStringLiteral("fifo.csv"));
        QCOMPARE(mkfifo(qPrintable(fifo), 0600), 0);
        ImportarCSV d;
        d.show();
        RespostaModal resposta;
        resposta.escolherArquivo(extrato("1;A;1;a\n2;B;2;b\n3;C;3;c\n"));
        clicar(&d, "pushButton_lercsv");
        resposta.aoAbrir([](QWidget *janela) { qobject_cast<QDialog *>(janela)->reject(); });
        clicar(&d, "pushButton_lercsv");
        resposta.escolherArquivo(fifo);
        clicar(&d, "pushButton_lercsv");
        QVERIFY(!carregar(d, QStringLiteral("/dev/zero")) && !carregar(d, pasta.path()));
        const QStringList lidas = linhasDaGrade(grade(&d));
        resposta.responder(QMessageBox::No);
        duploClique(grade(&d), 1);
        QCOMPARE(linhasDaGrade(grade(&d)), lidas);
        resposta.responder(QMessageBox::Yes);
        duploClique(grade(&d), 1);
        QCOMPARE(linhasDaGrade(grade(&d)), QStringList({"1|A|1|a", "3|C|3|c"}));
        const QString pergunta = QStringLiteral("Você deseja remover a linha selecionada?");
        QCOMPARE(resposta.vistas().filter(QRegularExpression("^[^Q]")), QStringList({
            "Você não escolheu um arquivo", "Erro de leitura no arquivo", pergunta, pergunta}));
    }

    void importacaoQueNaoGrava_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<int>("recusada");
        QTest::addColumn<QString>("diagnostico");
        const QByteArray boa("01/03/2026;A;1,00;a\n"), depois("\n04/03/2026;D;4;d\n");
        QTest::newRow("grade vazia fecha") << QByteArray() << -1 << QString();
        for (const char *handle : {"inválido", "fechado", "nenhum"})
            QTest::newRow(handle) << boa << -1 << "^Erro ao iniciar a transação: \"";
        QTest::newRow("data inválida vira NULL") << boa + "31/02/2026;B;2,00;b" + depois << 1
                                                 << "^Erro ao inserir dados: \".*(?i)null";
        QTest::newRow("valor que não é número, fora da vista")
            << boa.repeated(150) + "03/03/2026;C;r$ 5,00;c" + depois << 150
            << "^Erro ao inserir dados: \".*(?i)valor";
    }

    // Nothing stays: the grid is empty, the transaction cannot begin, or a row is refused, which
    // sends nothing after it and is selected and shown once the error box closes.
    void importacaoQueNaoGrava()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(int, recusada);
        QFETCH(QString, diagnostico);
        const QByteArray handle = QTest::currentDataTag(); // the handle the main window lends
        QSqlDatabase fechado = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), handle);
        QSqlDatabase emprestado = handle == "fechado" ? fechado : handle.contains("lido") ? QSqlDatabase() : padrao;
        ImportarCSV d;
        if (handle != "nenhum")
            d.setupData(&emprestado);
        d.show();
        carregar(d, extrato(conteudo));
        QSqlQuery execucoes;
        const QString sql = QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.SESSION_STATUS "
                                           "WHERE VARIABLE_NAME = 'COM_STMT_EXECUTE'");
        const int antes = execucoes.exec(sql) && execucoes.next() ? execucoes.value(0).toInt() : -1;
        if (!diagnostico.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(diagnostico));
        RespostaModal resposta;
        int selecionadasNaCaixa = -1;
        resposta.aoAbrir([&](QWidget *caixa) {
            selecionadasNaCaixa = grade(&d)->selectedItems().size();
            caixa->close();
        });
        clicar(&d, "pushButton_importar");
        const bool falhou = !conteudo.isEmpty();
        QCOMPARE(resposta.vistas(), falhou ? QStringList {"Erro ao importar arquivo"} : QStringList());
        QCOMPARE(selecionadasNaCaixa, falhou ? 0 : -1);
        QCOMPARE(d.isVisible(), falhou);
        QVERIFY(execucoes.exec(sql) && execucoes.next());
        QCOMPARE(execucoes.value(0).toInt() - antes, recusada + 1);
        QVERIFY(execucoes.exec(QStringLiteral("SELECT COUNT(*) FROM gastos")) && execucoes.next());
        QCOMPARE(execucoes.value(0).toInt(), 0); // this session would see its own uncommitted rows
        const QModelIndex indice = grade(&d)->model()->index(recusada, 0);
        QCOMPARE(grade(&d)->selectionModel()->selectedRows(), indice.isValid() ? QModelIndexList {indice}
                                                                                : QModelIndexList());
        QCOMPARE(grade(&d)->viewport()->rect().contains(grade(&d)->visualRect(indice)), indice.isValid());
    }

    void textoHostilGuardadoExato_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::newRow("injeção, aspas e curingas") << R"(x'); DROP TABLE gastos; -- "q" `c` 100%_off)";
        QTest::newRow("barras invertidas") << R"(C:\temp\' \\ \0 \n \%)";
        QTest::newRow("NUL") << QString::fromUtf8("a\0b\0", 4);
        QTest::newRow("controles, combinantes e direção")
            << QString::fromUtf8("tab\tesc\x1b[31mbell\a e\xCC\x81 \xE2\x80\xAE" "abc\xE2\x80\xAC \xEF\xBB\xBF");
        QTest::newRow("emoji") << QStringLiteral("Lazer 🎉 💸");
    }

    // Typed into the grid as supplier and description, into the category field and into the
    // filter: stored to the byte, found by the filter, and never run as SQL.
    void textoHostilGuardadoExato()
    {
        QFETCH(QString, texto);
        RespostaModal resposta;
        ImportarCSV importacao;
        importacao.setupData(&padrao);
        QVERIFY(carregar(importacao, extrato("05/03/2026;F;1,00;D\n")));
        grade(&importacao)->item(0, 1)->setText(texto);
        grade(&importacao)->item(0, 3)->setText(texto);
        clicar(&importacao, "pushButton_importar");
        Categoria categoria;
        categoria.setupData();
        categoria.findChild<QLineEdit *>()->setText(texto);
        clicar(&categoria, "pushButton_inserir");
        QCOMPARE(banco.valor("SELECT CONCAT_WS('|', fornecedor, descricao, categoria) "
                             "FROM gastos, categoria").toString(), QStringList({texto, texto, texto}).join('|'));
        AnaliseDados analise;
        analise.findChild<QComboBox *>()->setCurrentIndex(2);
        analise.findChild<QSpinBox *>()->setValue(2026);
        analise.findChild<QLineEdit *>()->setText(texto);
        clicar(&analise, "pushButton_filtro");
        // A backslash escapes in LIKE, so such a text need not find itself.
        QCOMPARE(linhasDaGrade(grade(&analise)).size(), texto.contains('\\') ? 0 : 1);
    }
};

QTEST_MAIN(TstImportarCSV)
#include "tst_importarcsv.moc"
