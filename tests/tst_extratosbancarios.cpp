#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

// Banks' statement files, made up in tests/extratos: layouts, refusals, imports.
class TstExtratosBancarios : public QObject
{
    Q_OBJECT

private slots:
    void importaPelaJanela_data();
    void importaPelaJanela();

private:
    static QString caminho(const QString &nome) { return FINARA_EXTRATOS "/" + nome; }
    static QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>(); }
    static void clica(QWidget *d, const char *nome) { d->findChild<QPushButton *>(nome)->click(); }

    BancoTeste banco {QStringLiteral("extratos")};
    QSqlDatabase padrao = QSqlDatabase::database();
};

void TstExtratosBancarios::importaPelaJanela_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QString>("gastos"); // twice imported: the second time all rows are repeated
    QTest::newRow("ofx") << FINARA_SAMPLES "/extrato-exemplo.ofx" << "8|-754.23|2026-10-02";
    QTest::newRow("nubank") << FINARA_SAMPLES "/nubank-exemplo.csv" << "6|-1148.19|2026-10-01";
    QTest::newRow("colunas escolhidas uma vez") << caminho("mapeavel.csv") << "2|112.50|2026-10-05";
}

// An unknown header is asked about once, then remembered.
void TstExtratosBancarios::importaPelaJanela()
{
    QFETCH(QString, arquivo);
    QVERIFY(banco.esvaziar());
    const bool mapeavel = arquivo.endsWith("mapeavel.csv");
    RespostaModal resposta;
    for (int vez = 0; vez < 2; ++vez) {
        ImportarCSV d;
        d.setupData(&padrao);
        resposta.aoAbrir([&](QWidget *dialogo) {
            if (QWidget *foco = dialogo->focusWidget())
                foco->clearFocus(); // selectFile leaves the name field alone while it has the focus
            qobject_cast<QFileDialog *>(dialogo)->selectFile(arquivo);
            qobject_cast<QDialog *>(dialogo)->accept();
        });
        if (vez == 0 && mapeavel)
            resposta.aoAbrir([](QWidget *colunas) { qobject_cast<QDialog *>(colunas)->accept(); });
        clica(&d, "pushButton_lercsv");
        clica(&d, "pushButton_importar");
    }
    // Each run: the file dialog and the summary box, and once the column mapping.
    QCOMPARE(resposta.vistas().size(), mapeavel ? 5 : 4);
    const QString sql("SELECT CONCAT_WS('|', COUNT(*), SUM(valor), MIN(data)) FROM gastos");
    QTEST(banco.valor(sql).toString(), "gastos");
}

QTEST_MAIN(TstExtratosBancarios)
#include "tst_extratosbancarios.moc"
