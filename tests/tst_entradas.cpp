#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

// Hostile and broken input through every field a user types or imports:
// stored exactly as given or refused with the window's own error, never
// executed, cut short or rounded; and a statement file is only ever read.
namespace {

QStringList caixas(const RespostaModal &resposta)
{
    QStringList lista;
    for (const JanelaVista &v : resposta.vistas())
        if (v.classe == QLatin1String("QMessageBox"))
            lista << v.tipo + '|' + v.titulo + '|' + v.texto;
    return lista;
}

const QString erroAoImportar = QStringLiteral("information|Erro|Erro ao importar arquivo");
const QString tabelasIntactas = QStringLiteral( // the tables' columns and the first expense: "17 1"
    "SELECT CONCAT((SELECT COUNT(*) FROM information_schema.columns WHERE table_schema = DATABASE()), ' ', "
    "(SELECT COUNT(*) FROM gastos WHERE fornecedor = 'Padaria'))");

} // namespace

class TstEntradas : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("entradas")};
    QTemporaryDir pasta;
    int arquivos = 0;

    QString guardado(const QString &sql) const { return banco.valor(sql).toString(); }

    QString arquivo(const QByteArray &conteudo)
    {
        QFile f(pasta.filePath(QStringLiteral("%1.csv").arg(++arquivos)));
        if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }

    // A statement chosen through "Ler CSV", antesDaLeitura run before it is read, the
    // non-null cells typed over, and "Importar Dados": the boxes shown.
    QStringList importar(const QStringList &celulas, QString caminho = {}, std::function<void()> antesDaLeitura = {})
    {
        if (caminho.isEmpty())
            caminho = arquivo("05/03/2026;F;1,00;D\n");
        QSqlDatabase bd = QSqlDatabase::database();
        ImportarCSV d;
        d.setupData(&bd);
        d.show();
        RespostaModal resposta;
        resposta.aoAbrir([&](QWidget *janela) {
            auto *dialogo = qobject_cast<QFileDialog *>(janela);
            if (antesDaLeitura)
                connect(dialogo, &QFileDialog::fileSelected, antesDaLeitura);
            if (QWidget *foco = dialogo->focusWidget())
                foco->clearFocus();
            dialogo->selectFile(caminho);
            static_cast<QDialog *>(dialogo)->accept();
        });
        d.findChild<QPushButton *>("pushButton_lercsv")->click();
        for (int c = 0; c < celulas.size(); ++c)
            if (!celulas.at(c).isNull())
                d.findChild<QTableWidget *>("tableWidget_dados")->item(0, c)->setText(celulas.at(c));
        d.findChild<QPushButton *>("pushButton_importar")->click();
        return caixas(resposta).filter(QRegularExpression("^(?!information\\|Importação concluída\\|)"));
    }

private slots:
    // A plain expense the filters must never list.
    void init()
    {
        QVERIFY2(banco.pronto() && banco.executa(QStringLiteral("SET NAMES utf8mb4")), qPrintable(banco.erro()));
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao) "
                                             "VALUES ('2026-03-05', 'Padaria', 1, 'pão')")));
    }

    void textoGuardadoExatoOuRecusado_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::newRow("injeção, aspas e curingas") << R"(x'); DROP TABLE gastos; -- "q" `c` 100%_off)";
        QTest::newRow("barras invertidas") << R"(C:\temp\' \\ \0 \n \%)";
        QTest::newRow("NUL") << QString::fromUtf8("a\0b\0", 4);
        QTest::newRow("controles, combinantes e direção")
            << QString::fromUtf8("tab\tesc\x1b[31mbell\a e\xCC\x81 \xE2\x80\xAE" "abc\xE2\x80\xAC \xEF\xBB\xBF");
        QTest::newRow("100 emoji") << QStringLiteral("🎉").repeated(100);
        QTest::newRow("101 emoji") << QStringLiteral("🎉").repeated(101);
        QTest::newRow("255 ç") << QString(255, QChar(0xE7));
        QTest::newRow("256 x") << QString(256, QLatin1Char('x'));
        QTest::newRow("1000 emoji") << QStringLiteral("🎉").repeated(1000);
        QTest::newRow("1001 x") << QString(1001, QLatin1Char('x'));
    }

    // As a category, a supplier, a description and a filter: kept to the byte where
    // the column has room (100, 255, 1000 characters), else refused with the box.
    void textoGuardadoExatoOuRecusado()
    {
        QFETCH(QString, texto);
        const int tamanho = texto.toUcs4().size();
        const auto cabe = [&](int limite, const QString &guardado) { return tamanho <= limite ? guardado : QString(); };
        const auto caixa = [&](int limite, const QString &erro) { return tamanho <= limite ? QStringList() : QStringList {erro}; };
        {
            Categoria d;
            d.setupData();
            RespostaModal resposta;
            d.findChild<QLineEdit *>("lineEdit_categoria")->setText(texto);
            d.findChild<QPushButton *>("pushButton_inserir")->click();
            QCOMPARE(caixas(resposta), caixa(100, QStringLiteral("warning|Erro|Erro ao inserir item")));
            const QAbstractItemModel *lista = d.findChild<QTableView *>("tableView_categoria")->model();
            QCOMPARE(lista->rowCount() ? lista->index(0, 1).data().toString() : QString(), cabe(100, texto));
        }
        QCOMPARE(guardado("SELECT categoria FROM categoria"), cabe(100, texto));
        QCOMPARE(importar({QString(), texto}), caixa(255, erroAoImportar));
        QCOMPARE(guardado("SELECT fornecedor FROM gastos WHERE descricao = 'D'"), cabe(255, texto));
        QCOMPARE(importar({QString(), "F", QString(), texto}), caixa(1000, erroAoImportar));
        QCOMPARE(guardado("SELECT descricao FROM gastos WHERE fornecedor = 'F'"), cabe(1000, texto));

        // "Filtrar" over March 2026: the supplier matches itself, the description
        // the other row; a backslash escapes in LIKE, so need not find itself.
        AnaliseDados d;
        RespostaModal resposta;
        d.findChild<QComboBox *>("comboBox_mes")->setCurrentIndex(2);
        d.findChild<QSpinBox *>("spinBox_ano")->setValue(2026);
        d.findChild<QLineEdit *>("lineEdit_filtro")->setText(texto);
        d.findChild<QPushButton *>("pushButton_filtro")->click();
        const QTableWidget *tabela = d.findChild<QTableWidget *>("tableWidget_dados");
        QStringList listados;
        for (int linha = 0; linha < tabela->rowCount(); ++linha)
            listados << tabela->item(linha, 2)->text();
        QStringList esperados = QStringList({texto, "F"}).mid(tamanho > 1000 ? 2 : tamanho > 255 ? 1 : 0);
        if (!texto.contains(QLatin1Char('\\'))) {
            QCOMPARE(caixas(resposta), esperados.isEmpty() ? QStringList {"information|Informação|Registros não encontrados"}
                                                           : QStringList());
            listados.sort();
            esperados.sort();
            QCOMPARE(listados, esperados);
        }
        QVERIFY(!listados.contains(QStringLiteral("Padaria")));
        QCOMPARE(guardado(tabelasIntactas), "17 1");
    }

    void campoConvertidoOuRecusado_data()
    {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado"); // null: the import is refused
        QTest::newRow("maior valor") << 2 << "R$ 99.999.999.999,99" << "99999999999.99";
        QTest::newRow("valor grande demais") << 2 << "R$ 100.000.000.000,00" << QString();
        QTest::newRow("um centavo negativo") << 2 << "-0,01" << "-0.01";
        // Each of these was stored rounded (1.23, 1234.56) before.
        QTest::newRow("valor à inglesa") << 2 << "1,234.56" << QString();
        QTest::newRow("achado do fuzzer: cinco decimais") << 2 << "R$ 1.234,56024" << QString();
        QTest::newRow("expoente") << 2 << "1e-3" << QString();
        QTest::newRow("valor com NUL") << 2 << QString::fromUtf8("5\0,00", 5) << QString();
        QTest::newRow("dígitos arábicos") << 2 << "١٢,٥٠" << QString();
        QTest::newRow("última data") << 0 << "31/12/9999" << "9999-12-31";
        QTest::newRow("primeira data") << 0 << "01/01/0001" << "0001-01-01";
        QTest::newRow("data com NUL e sql") << 0 << QString("05/03/2026") + QChar(0) + "'); DROP TABLE gastos; --" << QString();
    }

    // Dates and amounts typed into the grid reach the table exactly, or the
    // whole import is refused with its box and nothing is kept.
    void campoConvertidoOuRecusado()
    {
        QFETCH(int, coluna);
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        QCOMPARE(importar(coluna == 0 ? QStringList {texto} : QStringList {QString(), QString(), texto}),
                 esperado.isNull() ? QStringList {erroAoImportar} : QStringList());
        QCOMPARE(guardado(QStringLiteral("SELECT COALESCE((SELECT CAST(%1 AS CHAR) FROM gastos WHERE fornecedor = 'F'), "
                                         "'nenhum')").arg(coluna == 0 ? "data" : "valor")),
                 esperado.isNull() ? QStringLiteral("nenhum") : esperado);
        QCOMPARE(guardado(tabelasIntactas), "17 1");
    }

    // Reading and importing leave the file's bytes, times, permissions and folder as they were.
    void extratoSoELido()
    {
        const QString caminho = arquivo("05/03/2026;Padaria Nova;12,50;pão\r\n06/03/2026;Feira;3,00;\r\n");
        QFile::setPermissions(caminho, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const auto estado = [&] {
            QFile f(caminho);
            f.open(QIODevice::ReadOnly);
            const QFileInfo info(caminho);
            return QStringList {QString::fromLatin1(f.readAll().toHex()), info.lastModified().toString(Qt::ISODateWithMs),
                                info.metadataChangeTime().toString(Qt::ISODateWithMs), QString::number(info.permissions(), 16),
                                QDir(pasta.path()).entryList(QDir::AllEntries | QDir::Hidden).join(QLatin1Char(','))};
        };
        const QStringList antes = estado();
        QCOMPARE(importar({}, caminho), QStringList());
        QCOMPARE(guardado("SELECT COUNT(*) FROM gastos"), "3");
        QCOMPARE(estado(), antes);
    }

    void extratoMudaAntesDaLeitura_data()
    {
        QTest::addColumn<QString>("mudanca"); // a shell command on the file, $0
        QTest::newRow("virou fifo") << "rm \"$0\" && mkfifo \"$0\"";
        QTest::newRow("virou link para /dev/zero") << "ln -sf /dev/zero \"$0\"";
    }

    // The file turns into a pipe or an endless device after the choice: a read error at once.
    void extratoMudaAntesDaLeitura()
    {
        QFETCH(QString, mudanca);
        const QString caminho = arquivo("05/03/2026;Padaria;12,50;pão\n");
        QCOMPARE(importar({}, caminho, [=] { QCOMPARE(QProcess::execute("sh", {"-c", mudanca, caminho}), 0); }),
                 QStringList {"critical|Erro|Erro de leitura no arquivo"});
        QCOMPARE(guardado("SELECT COUNT(*) FROM gastos"), "1");
    }
};

QTEST_MAIN(TstEntradas)
#include "tst_entradas.moc"
