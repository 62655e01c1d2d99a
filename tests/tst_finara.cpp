#include "app/finara.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QGridLayout>
#include <QPushButton>
#include <QtTest>

// The main window's buttons and the handle it keeps from the connection dialog.
class TstFinara : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("finara")};

    // "Conectar BD", pressing "Conectar" in the dialog or not, then closing it.
    static void conectarBD(Finara &w, bool pressionar)
    {
        RespostaModal resposta;
        resposta.aoAbrir([pressionar](QWidget *d) {
            if (pressionar)
                d->findChild<QPushButton *>("pushButton_bd")->click();
            d->close();
        });
        w.findChild<QPushButton *>("pushButton_conectarBD")->click();
        QCOMPARE(resposta.vistas().size() == 1 ? resposta.vistas().first().classe : QString(), "BancodeDados");
    }

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }
    void cleanupTestCase() { QVERIFY(banco.travarContaDoAplicativo(false)); }

    void botoesNaGradeENaOrdemDeFoco()
    {
        Finara w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Finara — desconectado"));
        auto *grade = w.findChild<QGridLayout *>("gridLayout");
        QStringList botoes, foco;
        for (int linha = 0; linha < 5; ++linha)
            if (QWidget *b = grade->itemAtPosition(linha, 0)->widget())
                botoes << b->objectName() + '=' + b->property("text").toString();
        QCOMPARE(botoes, QStringList({"pushButton_conectarBD=Conectar BD", "pushButton=Classificar Dados", "pushButton_importarCSV=Importar CSV",
                                      "pushButton_categoria=Cadastrar Categoria", "pushButton_analisar=Analisar dados"}));
        for (QWidget *b = w.findChild<QPushButton *>("pushButton_categoria"); foco.size() < 5; b = b->nextInFocusChain())
            foco << b->objectName();
        QCOMPARE(foco, QStringList({"pushButton_categoria", "pushButton_importarCSV", "pushButton_conectarBD", "pushButton", "pushButton_analisar"}));
    }

    // The handle is replaced by each run of the dialog, never kept from an earlier one.
    void handleSegueCadaExecucaoDoDialogo()
    {
        Finara w;
        QVERIFY(!w.baseDeDados().isValid());
        conectarBD(w, true);
        QVERIFY(w.baseDeDados().isOpen());
        QCOMPARE(w.baseDeDados().connectionName(), QString::fromLatin1(QSqlDatabase::defaultConnection));
        // Closed without pressing: invalid, though the default connection stays open.
        conectarBD(w, false);
        QVERIFY(!w.baseDeDados().isValid() && QSqlDatabase::database().isOpen());
        // Closed after a refused attempt: a registered but closed handle.
        QVERIFY(banco.travarContaDoAplicativo(true));
        conectarBD(w, true);
        QVERIFY(w.baseDeDados().isValid() && !w.baseDeDados().isOpen());
    }
};

QTEST_MAIN(TstFinara)
#include "tst_finara.moc"
