#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

// Bank files through the real import dialog, into gastos: what each stores, read into the grid
// once or twice, beside what gastos already holds.
class TstExtratosBancarios : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("extratos")};
    QSqlDatabase padrao = QSqlDatabase::database();

    static QString caminho(const QString &nome)
    {
        return (nome.contains("exemplo") ? FINARA_SAMPLES "/" : FINARA_EXTRATOS "/") + nome;
    }

private slots:
    void importaPelaJanela_data()
    {
        QTest::addColumn<QStringList>("arquivos"); // read one after the other into one grid
        QTest::addColumn<QString>("noBanco"); // (data, fornecedor, valor, descricao, idTransacao, conta)
        QTest::addColumn<QString>("marcada"); // the description of a row ticked to go in anyway
        QTest::addColumn<int>("vezes");       // the whole import, file dialog to summary
        QTest::addColumn<QString>("gastos");  // stored at the end: count|sum|first date
        QTest::addColumn<QString>("noResumo"); // a pattern of the last summary
        const auto caso = [](const char *nome, QStringList arquivos, QString noBanco, int vezes) -> QTestData & {
            return QTest::newRow(nome) << arquivos << noBanco << QString() << vezes;
        };
        const QString outraConta = "('2026-10-02', 'C&A São Paulo', 45.9, 'C&A São Paulo', 'F1', "
                                   "'OFX 0001/999')";
        caso("ofx duas vezes", {"extrato-exemplo.ofx"}, "", 2) << "8|-754.23|2026-10-02" << "8 linhas repetidas";
        caso("nubank duas vezes", {"nubank-exemplo.csv"}, "", 2) << "6|-1148.19|2026-10-01" << "fatura de R.+912,40";
        caso("colunas escolhidas uma vez", {"mapeavel.csv"}, "", 2) << "2|112.50|2026-10-05" << "2 linhas repetidas";
        caso("mesmo arquivo duas vezes na grade", {"nubank-cartao-virgula.csv", "nubank-cartao-virgula.csv"},
             "", 1) << "5|42.24|2026-09-01" << "5 linhas repetidas";
        caso("mesmo FITID noutra conta", {"sgml.ofx"}, outraConta, 1) << "3|181.70|2026-10-02" << "^2 gastos";
        caso("mesmo FITID na mesma conta", {"sgml.ofx"}, QString(outraConta).replace("0001/999", "0341/12345-6"), 1)
            << "2|135.80|2026-10-02" << "1 linha repetida";
        caso("parcela com a data da compra", {"c6-parcelas.csv"}, "('2026-05-26', 'DELL', 500, 'DELL - 1/10', "
             "NULL, NULL)", 1) << "2|1000.00|2026-05-26" << "^1 gasto gravado";
        QTest::newRow("saldo marcado entra") << QStringList {"sgml.ofx"} << "" << "SALDO DO DIA" << 1
                                             << "3|136.80|2026-10-02" << "^3 gastos";
        caso("grade vazia", {}, "", 1) << "0" << "nada foi gravado";
    }
    // Rows that are not spending go greyed and unticked, named in the summary; rows repeated in
    // gastos or by an earlier file of the grid are left out ("Importar só as novas").
    void importaPelaJanela()
    {
        QFETCH(QStringList, arquivos);
        QFETCH(QString, noBanco);
        QFETCH(QString, marcada);
        QFETCH(int, vezes);
        QVERIFY(banco.esvaziar());
        QVERIFY(noBanco.isEmpty() || banco.executa("INSERT INTO gastos (data, fornecedor, valor, descricao, "
                                                   "idTransacao, contaExtrato) VALUES " + noBanco));
        RespostaModal resposta; // "Importar só as novas", then OK
        resposta.sempre(QMessageBox::Yes);
        for (int vez = 0; vez < vezes; ++vez) {
            ImportarCSV d;
            d.setupData(&padrao);
            auto *grade = d.findChild<QTableWidget *>();
            for (const QString &arquivo : arquivos) {
                if (vez == 0 && arquivo.startsWith("mapeavel"))
                    resposta.aoAbrir([](QWidget *colunas) { qobject_cast<QDialog *>(colunas)->accept(); });
                QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_ARG(QString, caminho(arquivo)),
                                          Q_ARG(QTableWidget *, grade));
            }
            for (QTableWidgetItem *item : grade->findItems(marcada, Qt::MatchExactly))
                grade->item(item->row(), 0)->setCheckState(Qt::Checked);
            d.findChild<QPushButton *>("pushButton_importar")->click();
        }
        QFETCH(QString, noResumo);
        const QString resumo = resposta.vistas().value(resposta.vistas().size() - 1) + '\n'
                               + resposta.motivos().value(resposta.motivos().size() - 1);
        QVERIFY2(resumo.contains(QRegularExpression(noResumo, QRegularExpression::MultilineOption)),
                 qPrintable(resumo));
        const QString sql("SELECT CONCAT_WS('|', COUNT(*), SUM(valor), MIN(data)) FROM gastos");
        QTEST(banco.valor(sql).toString(), "gastos");
    }
};

QTEST_MAIN(TstExtratosBancarios)
#include "tst_extratosbancarios.moc"
