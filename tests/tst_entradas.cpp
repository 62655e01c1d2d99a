#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Hostile and broken input through every field a user types or imports:
// stored exactly as given or refused with the window's own error, never
// executed, cut short or rounded; and a statement file is only ever read.
class TstEntradas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void textoGuardadoExatoOuRecusado_data();
    void textoGuardadoExatoOuRecusado();
    void campoConvertidoOuRecusado_data();
    void campoConvertidoOuRecusado();
    void extratoSoELido();
    void extratoMudaAntesDaLeitura_data();
    void extratoMudaAntesDaLeitura();

private:
    QString arquivo(const QByteArray &conteudo);
    QStringList importar(const QStringList &celulas);
    QStringList categoria(const QString &nome);
    QStringList filtrar(const QString &filtro, QStringList *listados);
    void verificaTabelasIntactas();
    QString guardado(const QString &sql) const { return banco->valor(sql).toString(); }
    static QString hex(const QString &texto) { return QString::fromLatin1(texto.toUtf8().toHex().toUpper()); }
    static void lerPeloBotao(QWidget *d, RespostaModal &resposta, const QString &caminho,
                             std::function<void()> antesDaLeitura = {});

    BancoTeste *banco = nullptr;
    QTemporaryDir pasta;
    QSqlDatabase padrao;
    int arquivos = 0;
};

namespace {

QStringList caixas(const RespostaModal &resposta)
{
    QStringList lista;
    for (const JanelaVista &v : resposta.vistas()) {
        if (v.classe == QLatin1String("QMessageBox"))
            lista << QStringList({v.tipo, v.titulo, v.texto}).join(QLatin1Char('|'));
    }
    return lista;
}

const QString erroAoImportar = QStringLiteral("information|Erro|Erro ao importar arquivo");
const QString erroAoInserir = QStringLiteral("warning|Erro|Erro ao inserir item");

} // namespace

void TstEntradas::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("entradas"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    QVERIFY(banco->executa(QStringLiteral("SET NAMES utf8mb4")));
    padrao = QSqlDatabase::database();
}

void TstEntradas::cleanupTestCase()
{
    padrao = QSqlDatabase();
    delete banco;
}

// A plain expense the filters must never list.
void TstEntradas::init()
{
    QVERIFY(banco->executa(QStringLiteral("DELETE FROM gastos")));
    QVERIFY(banco->executa(QStringLiteral("DELETE FROM categoria")));
    QVERIFY(banco->executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao) "
                                          "VALUES ('2026-03-05', 'Padaria', 1, 'pão')")));
}

QString TstEntradas::arquivo(const QByteArray &conteudo)
{
    QFile f(pasta.filePath(QStringLiteral("%1.csv").arg(++arquivos)));
    if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
    return f.fileName();
}

// Picks the file in the file dialog "Ler CSV" opens; antesDaLeitura runs
// once the choice is made and before the dialog reads the file.
void TstEntradas::lerPeloBotao(QWidget *d, RespostaModal &resposta, const QString &caminho,
                               std::function<void()> antesDaLeitura)
{
    resposta.aoAbrir([=](QWidget *janela) {
        auto *dialogo = qobject_cast<QFileDialog *>(janela);
        QVERIFY(dialogo);
        if (antesDaLeitura)
            connect(dialogo, &QFileDialog::fileSelected, antesDaLeitura);
        if (QWidget *foco = dialogo->focusWidget())
            foco->clearFocus();
        dialogo->selectFile(caminho);
        static_cast<QDialog *>(dialogo)->accept();
    });
    d->findChild<QPushButton *>("pushButton_lercsv")->click();
}

// One statement line read into the grid, its cells then typed over by the
// user, and "Importar Dados": the boxes shown.
QStringList TstEntradas::importar(const QStringList &celulas)
{
    ImportarCSV d;
    d.setupData(&padrao);
    d.show();
    RespostaModal resposta;
    lerPeloBotao(&d, resposta, arquivo("05/03/2026;F;1,00;D\n"));
    auto *grade = d.findChild<QTableWidget *>("tableWidget_dados");
    for (int c = 0; c < celulas.size(); ++c) {
        if (!celulas.at(c).isNull())
            grade->item(0, c)->setText(celulas.at(c));
    }
    d.findChild<QPushButton *>("pushButton_importar")->click();
    return caixas(resposta);
}

QStringList TstEntradas::categoria(const QString &nome)
{
    Categoria d;
    d.setupData();
    RespostaModal resposta;
    d.findChild<QLineEdit *>("lineEdit_categoria")->setText(nome);
    d.findChild<QPushButton *>("pushButton_inserir")->click();
    const QAbstractItemModel *lista = d.findChild<QTableView *>("tableView_categoria")->model();
    if (lista->rowCount() == 1 && lista->index(0, 1).data().toString() != nome)
        return {QStringLiteral("lista mostra outro nome")};
    return caixas(resposta);
}

// "Filtrar" over March 2026; the suppliers listed go to *listados.
QStringList TstEntradas::filtrar(const QString &filtro, QStringList *listados)
{
    AnaliseDados d;
    RespostaModal resposta;
    d.findChild<QComboBox *>("comboBox_mes")->setCurrentIndex(2);
    d.findChild<QSpinBox *>("spinBox_ano")->setValue(2026);
    d.findChild<QLineEdit *>("lineEdit_filtro")->setText(filtro);
    d.findChild<QPushButton *>("pushButton_filtro")->click();
    const QTableWidget *tabela = d.findChild<QTableWidget *>("tableWidget_dados");
    for (int linha = 0; linha < tabela->rowCount(); ++linha)
        *listados << tabela->item(linha, 2)->text();
    return caixas(resposta);
}

void TstEntradas::verificaTabelasIntactas()
{
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM information_schema.columns "
                                         "WHERE table_schema = DATABASE()")).toInt(), 8);
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM gastos WHERE fornecedor = 'Padaria'")).toInt(), 1);
}

void TstEntradas::textoGuardadoExatoOuRecusado_data()
{
    QTest::addColumn<QString>("texto");
    QTest::newRow("injeção e aspas") << R"(x'); DROP TABLE gastos; -- "q" `c`)";
    QTest::newRow("barras invertidas") << R"(C:\temp\' \\ \0 \n \%)";
    QTest::newRow("curingas") << "100%_off";
    QTest::newRow("NUL") << QString::fromUtf8("a\0b\0", 4);
    QTest::newRow("controles") << "tab\tesc\x1b[31mbell\a";
    QTest::newRow("quatro bytes") << "PIX 💸 para João 🎉 𝄞";
    QTest::newRow("combinantes e direção") << QString::fromUtf8("e\xCC\x81 \xE2\x80\xAE" "abc\xE2\x80\xAC \xEF\xBB\xBF");
    const QString emoji = QStringLiteral("🎉");
    QTest::newRow("100 emoji") << emoji.repeated(100);
    QTest::newRow("101 emoji") << emoji.repeated(101);
    QTest::newRow("255 ç") << QString(255, QChar(0xE7));
    QTest::newRow("256 x") << QString(256, QLatin1Char('x'));
    QTest::newRow("1000 emoji") << emoji.repeated(1000);
    QTest::newRow("1001 x") << QString(1001, QLatin1Char('x'));
    QTest::newRow("30000 x") << QString(30000, QLatin1Char('x'));
}

// The same text as a category name, as a supplier and as a description
// typed into the preview grid, and as a filter: each is kept to the byte
// where its column has room and refused with the window's box otherwise.
void TstEntradas::textoGuardadoExatoOuRecusado()
{
    QFETCH(QString, texto);
    const int tamanho = texto.toUcs4().size();

    QCOMPARE(categoria(texto), tamanho <= 100 ? QStringList() : QStringList {erroAoInserir});
    QCOMPARE(guardado(QStringLiteral("SELECT HEX(categoria) FROM categoria")), tamanho <= 100 ? hex(texto) : QString());

    QCOMPARE(importar({QString(), texto}), tamanho <= 255 ? QStringList() : QStringList {erroAoImportar});
    QCOMPARE(guardado(QStringLiteral("SELECT HEX(fornecedor) FROM gastos WHERE descricao = 'D'")),
             tamanho <= 255 ? hex(texto) : QString());
    QCOMPARE(importar({QString(), QStringLiteral("F"), QString(), texto}),
             tamanho <= 1000 ? QStringList() : QStringList {erroAoImportar});
    QCOMPARE(guardado(QStringLiteral("SELECT HEX(descricao) FROM gastos WHERE fornecedor = 'F'")),
             tamanho <= 1000 ? hex(texto) : QString());

    // The supplier matches itself, the description the other row; a
    // backslash escapes in LIKE, so such a text need not find itself.
    QStringList listados;
    QStringList esperados;
    if (tamanho <= 255)
        esperados << texto;
    if (tamanho <= 1000)
        esperados << QStringLiteral("F");
    const QStringList vistas = filtrar(texto, &listados);
    if (!texto.contains(QLatin1Char('\\'))) {
        QCOMPARE(vistas, esperados.isEmpty() ? QStringList {"information|Informação|Registros não encontrados"}
                                             : QStringList());
        listados.sort();
        esperados.sort();
        QCOMPARE(listados, esperados);
    }
    QVERIFY(!listados.contains(QStringLiteral("Padaria")));
    verificaTabelasIntactas();
}

void TstEntradas::campoConvertidoOuRecusado_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado"); // null: the import is refused

    const QString recusado;
    QTest::newRow("maior valor") << 2 << "R$ 99.999.999.999,99" << "99999999999.99";
    QTest::newRow("valor grande demais") << 2 << "R$ 100.000.000.000,00" << recusado;
    QTest::newRow("um centavo negativo") << 2 << "-0,01" << "-0.01";
    // Each of these was stored rounded (1.23, 1234.56, 0.00) before.
    QTest::newRow("valor à inglesa") << 2 << "1,234.56" << recusado;
    QTest::newRow("achado do fuzzer: cinco decimais") << 2 << "R$ 1.234,56024" << recusado;
    QTest::newRow("três decimais") << 2 << "0,001" << recusado;
    QTest::newRow("expoente") << 2 << "1e-3" << recusado;
    QTest::newRow("valor com sql") << 2 << "'; DROP TABLE gastos; --" << recusado;
    QTest::newRow("valor com NUL") << 2 << QString::fromUtf8("5\0,00", 5) << recusado;
    QTest::newRow("dígitos arábicos") << 2 << "١٢,٥٠" << recusado;
    QTest::newRow("última data") << 0 << "31/12/9999" << "9999-12-31";
    QTest::newRow("primeira data") << 0 << "01/01/0001" << "0001-01-01";
    QTest::newRow("data com sql") << 0 << "05/03/2026'); DROP TABLE gastos; --" << recusado;
    QTest::newRow("data com NUL") << 0 << QString::fromUtf8("05/03/2026\0", 11) << recusado;
}

// Dates and amounts typed into the grid reach the table exactly, or the
// whole import is refused with its box and nothing is kept.
void TstEntradas::campoConvertidoOuRecusado()
{
    QFETCH(int, coluna);
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QStringList celulas {QString(), QString(), QString()};
    celulas[coluna] = texto;
    QCOMPARE(importar(celulas), esperado.isNull() ? QStringList {erroAoImportar} : QStringList());
    const QString convertido = guardado(QStringLiteral("SELECT COALESCE((SELECT CAST(%1 AS CHAR) FROM gastos "
                                                       "WHERE fornecedor = 'F'), 'nenhum')")
                                            .arg(coluna == 0 ? "data" : "valor"));
    QCOMPARE(convertido, esperado.isNull() ? QStringLiteral("nenhum") : esperado);
    verificaTabelasIntactas();
}

// Reading and importing leave the statement file as it was: its bytes,
// times and permissions, and nothing new beside it.
void TstEntradas::extratoSoELido()
{
    const QString caminho = arquivo("05/03/2026;Padaria Nova;12,50;pão\r\n06/03/2026;Feira;3,00;\r\n");
    {
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::Append));
        QVERIFY(f.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)), QFileDevice::FileModificationTime));
    }
    QFile::setPermissions(caminho, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const auto estado = [&] {
        QFile f(caminho);
        f.open(QIODevice::ReadOnly);
        const QFileInfo info(caminho);
        return QStringList {QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex()),
                            info.lastModified().toString(Qt::ISODateWithMs),
                            info.metadataChangeTime().toString(Qt::ISODateWithMs),
                            QString::number(info.permissions(), 16),
                            QDir(pasta.path()).entryList(QDir::AllEntries | QDir::Hidden).join(QLatin1Char(','))};
    };
    const QStringList antes = estado();
    QVERIFY(antes.at(1).startsWith(QLatin1String("2020-01-02")));

    ImportarCSV d;
    d.setupData(&padrao);
    d.show();
    RespostaModal resposta;
    lerPeloBotao(&d, resposta, caminho);
    QCOMPARE(d.findChild<QTableWidget *>("tableWidget_dados")->rowCount(), 2);
    QCOMPARE(estado(), antes);
    d.findChild<QPushButton *>("pushButton_importar")->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM gastos")).toInt(), 3);
    QCOMPARE(estado(), antes);
    QCOMPARE(caixas(resposta), QStringList());
}

void TstEntradas::extratoMudaAntesDaLeitura_data()
{
    QTest::addColumn<QString>("mudanca");
    QTest::newRow("apagado") << "apagado";
    QTest::newRow("virou pasta") << "pasta";
    QTest::newRow("virou fifo") << "fifo";
    QTest::newRow("virou link para /dev/zero") << "zero";
}

// Between the choice in the file dialog and the read, the file goes away
// or becomes something that is no statement: the read error, the grid
// untouched, and no wait on a pipe or an endless device.
void TstEntradas::extratoMudaAntesDaLeitura()
{
    QFETCH(QString, mudanca);
    const QString caminho = arquivo("05/03/2026;Padaria;12,50;pão\n");
    ImportarCSV d;
    d.show();
    RespostaModal resposta;
    lerPeloBotao(&d, resposta, caminho, [=] {
        QFile::remove(caminho);
        if (mudanca == QLatin1String("pasta"))
            QDir().mkdir(caminho);
        else if (mudanca == QLatin1String("fifo"))
            mkfifo(QFile::encodeName(caminho).constData(), 0600);
        else if (mudanca == QLatin1String("zero"))
            QFile::link(QStringLiteral("/dev/zero"), caminho);
    });
    QCOMPARE(caixas(resposta), QStringList {"critical|Erro|Erro de leitura no arquivo"});
    QCOMPARE(d.findChild<QTableWidget *>("tableWidget_dados")->columnCount(), 0);
    QCOMPARE(QFileInfo(caminho).exists(), mudanca != QLatin1String("apagado"));
}

QTEST_MAIN(TstEntradas)
#include "tst_entradas.moc"
