#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QtTest>
#include <QtWidgets>

// Faults found by probing. The server sleeps on "Lento" expenses and refuses 2.00 ones "Lazer".
class TstDefeitos : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("defeitos")};

private slots:
    void initTestCase()
    {
        QVERIFY(banco.executa("CREATE TRIGGER lento BEFORE INSERT ON gastos FOR EACH ROW "
                              "IF NEW.fornecedor = 'Lento' THEN SET @x = SLEEP(0.4); END IF"));
        QVERIFY(banco.executa("CREATE TRIGGER bloqueia BEFORE UPDATE ON gastos FOR EACH ROW IF "
            "NEW.valor = 2 AND NEW.idCategoria = 2 THEN SIGNAL SQLSTATE '45000'; END IF"));
    }
    void init() { QVERIFY(banco.esvaziar()); }

    void importacao_data()
    {
        QTest::addColumn<QString>("conteudo");
        QTest::addColumn<QString>("aviso");    // in a box
        QTest::addColumn<QString>("guardado"); // rows stored, amount and description of the last
        QTest::newRow("resto na descrição") << "01/03/2026;A;1;a; b" << "importado" << "1 1.00 a; b";
        QTest::newRow("linha longa demais") << "1;A;1;x\n" + QString(1298, 'y') << "linha 2" << "";
        QTest::newRow("Esc") << QString("01/03/2026;Lento;1;x\n").repeated(5) << "importado" << "5 1.00 x";
    }

    void importacao()
    {
        QFETCH(QString, conteudo);
        QFETCH(QString, aviso);
        QFETCH(QString, guardado);
        QTemporaryFile arquivo(QDir::tempPath() + "/XXXXXX.csv");
        QVERIFY(arquivo.open() && arquivo.write(conteudo.toUtf8()) >= 0 && arquivo.flush());
        ImportarCSV d;
        QSqlDatabase padrao = QSqlDatabase::database();
        d.setupData(&padrao);
        RespostaModal r;
        r.aoAbrir([&](QWidget *janela) {
            janela->findChild<QLineEdit *>("fileNameEdit")->setText(arquivo.fileName());
            QMetaObject::invokeMethod(janela, "accept");
        });
        d.findChild<QPushButton *>("pushButton_lercsv")->click();
        if (conteudo.contains("Lento"))
            r.aoAbrir([&](QWidget *progresso) {
                QTest::keyClick(progresso, Qt::Key_Escape);
                QTest::mouseClick(d.findChild<QWidget *>("pushButton_importar"), Qt::LeftButton);
                QVERIFY(progresso->isVisible());
            });
        d.findChild<QPushButton *>("pushButton_importar")->click();
        QVERIFY((r.vistas() + r.motivos()).join('|').contains(aviso));
        QCOMPARE(banco.valor("SELECT CONCAT((SELECT COUNT(*) FROM gastos), ' ', valor, ' ', "
                             "descricao) FROM gastos ORDER BY idGasto DESC").toString(), guardado);
    }

    // March 2026 alone is listed, then classified as Lazer, Mercado, and Lazer deleted elsewhere.
    void classificacao()
    {
        QVERIFY(banco.executa("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Lazer')"));
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor) VALUES "
                              "('2026-03-05', '', 1), ('2026-03-31', '', 2), ('1926-03-01', '', 3),"
                              " ('2126-03-01', '', 3), ('0026-03-01', '', 3)"));
        AnaliseDados d;
        RespostaModal r;
        d.setupData(); // this month has no expenses: a box, as after each classification
        QVERIFY(QMetaObject::invokeMethod(&d, "montaWidgetDados", Q_ARG(int, 3), Q_ARG(int, 2026)));
        d.findChild<QTableWidget *>("tableWidget_dados")->selectAll();
        auto *lista = d.findChild<QTableView *>("tableView_categoria");
        const QList<QPair<int, QString>> passos {{0, ""}, {1, "1,1"}, {0, "1,1"}};
        for (const auto &[linha, apos] : passos) {
            lista->selectRow(linha);
            d.findChild<QPushButton *>("pushButton_classificar")->click();
            QCOMPARE(banco.valor("SELECT GROUP_CONCAT(idCategoria) FROM gastos").toString(), apos);
            QVERIFY(linha == 0 || banco.executa("DELETE FROM categoria WHERE idCategoria = 2"));
        }
        QCOMPARE(lista->model()->rowCount(), 1);
        Categoria c;
        c.setupData();
        c.findChild<QLineEdit *>("lineEdit_categoria")->setText(" NAO CLASSIFICADO");
        c.findChild<QPushButton *>("pushButton_inserir")->click();
        QCOMPARE(r.vistas().size(), 5);
        QVERIFY(r.vistas().at(1).contains("recusou") && r.vistas().at(3).contains("\"Lazer\""));
    }
};

QTEST_MAIN(TstDefeitos)
#include "tst_defeitos.moc"
