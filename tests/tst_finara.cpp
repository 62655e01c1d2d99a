#include "app/finara.h"
#include "database/conexao.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QGridLayout>
#include <QPushButton>
#include <QtTest>

// The main window's buttons and the handle it keeps from the connection
// dialog.
class TstFinara : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void botoesNaGradeENaOrdemDeFoco();
    void handleSegueCadaExecucaoDoDialogo();

private:
    static void conectarBD(Finara &w, RespostaModal::Acao acao);
    BancoTeste *banco = nullptr;
};

void TstFinara::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("finara"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
}

void TstFinara::cleanupTestCase()
{
    banco->travarContaDoAplicativo(false);
    delete banco;
}

void TstFinara::botoesNaGradeENaOrdemDeFoco()
{
    Finara w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Finara"));
    const QList<QPair<QString, QString>> linhas {
        {"pushButton_conectarBD", "Conectar BD"},
        {"pushButton", "Classificar Dados"},
        {"pushButton_importarCSV", "Importar CSV"},
        {"pushButton_categoria", "Cadastrar Categoria"},
        {"pushButton_analisar", "Analisar dados"},
    };
    auto *grade = w.findChild<QGridLayout *>("gridLayout");
    QVERIFY(grade);
    for (int linha = 0; linha < linhas.size(); ++linha) {
        auto *botao = qobject_cast<QPushButton *>(grade->itemAtPosition(linha, 0)->widget());
        QVERIFY(botao);
        QCOMPARE(botao->objectName(), linhas[linha].first);
        QCOMPARE(botao->text(), linhas[linha].second);
    }
    const QStringList ordemDeFoco {"pushButton_categoria", "pushButton_importarCSV",
                                   "pushButton_conectarBD", "pushButton", "pushButton_analisar"};
    QWidget *atual = w.findChild<QPushButton *>(ordemDeFoco.first());
    for (const QString &nome : ordemDeFoco) {
        QCOMPARE(atual->objectName(), nome);
        atual = atual->nextInFocusChain();
    }
}

void TstFinara::conectarBD(Finara &w, RespostaModal::Acao acao)
{
    RespostaModal resposta;
    resposta.aoAbrir(std::move(acao));
    w.findChild<QPushButton *>("pushButton_conectarBD")->click();
    QCOMPARE(resposta.vistas().size(), 1);
    QCOMPARE(resposta.vistas().first().classe, QStringLiteral("BancodeDados"));
}

void TstFinara::handleSegueCadaExecucaoDoDialogo()
{
    Finara w;
    QVERIFY(!w.baseDeDados().isValid());
    const auto conectar = [](QWidget *d) { d->findChild<QPushButton *>("pushButton_bd")->click(); };
    const auto fechar = [](QWidget *d) { d->close(); };

    conectarBD(w, conectar);
    QVERIFY(w.baseDeDados().isOpen());
    QCOMPARE(w.baseDeDados().connectionName(), QString::fromLatin1(QSqlDatabase::defaultConnection));

    // Closed without pressing: invalid, though the default connection stays open.
    conectarBD(w, fechar);
    QVERIFY(!w.baseDeDados().isValid());
    QVERIFY(QSqlDatabase::database().isOpen());

    // Closed after a failed attempt: a registered but closed handle.
    QVERIFY(banco->travarContaDoAplicativo(true));
    conectarBD(w, [](QWidget *d) {
        d->findChild<QPushButton *>("pushButton_bd")->click();
        d->close();
    });
    QVERIFY(banco->travarContaDoAplicativo(false));
    QVERIFY(w.baseDeDados().isValid());
    QVERIFY(!w.baseDeDados().isOpen());
}

QTEST_MAIN(TstFinara)
#include "tst_finara.moc"
