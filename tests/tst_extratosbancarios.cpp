#include "app/finara.h"
#include "import/importarcsv.h"
#include "import/leitordeextrato.h"
#include "import/reconhecimentoextrato.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QtTest>

// Banks' statement files (made up, in tests/extratos): each layout read into rows, bad
// files refused whole, imports through the real window.
class TstExtratosBancarios : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY2(banco.esvaziar(), qPrintable(banco.erro())); }
    void layouts_data();
    void layouts();
    void arquivosRecusados_data();
    void arquivosRecusados();
    void importaPelaJanela_data();
    void importaPelaJanela();

private:
    static QString caminho(const QString &nome) { return QStringLiteral(FINARA_EXTRATOS "/") + nome; }
    static QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>(); }
    static void clica(QWidget *d, const char *botao) { d->findChild<QPushButton *>(botao)->click(); }

    BancoTeste banco {QStringLiteral("extratos")};
    QSqlDatabase padrao = QSqlDatabase::database();
};

void TstExtratosBancarios::layouts_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("esperadas"); // data|fornecedor|valor|descrição|id
    QTest::addColumn<int>("ignoradas");
    const auto linha = [](const char *arquivo, const char *layout, QStringList esperadas, int ignoradas) {
        QTest::newRow(arquivo) << QString::fromUtf8(layout) << esperadas << ignoradas;
    };
    linha("nubank-conta.csv", "Nubank — conta corrente (CSV)", {"01/10/2026|PADARIA|23,90|Compra no débito - "
          "PADARIA|u1", "03/10/2026|ANA|-150,00|Transferência recebida pelo Pix - ANA - •••.1-••|u2"}, 1);
    linha("nubank-cartao.csv", "Nubank — cartão de crédito (CSV)", {"03/10/2026|Loja X|100,50|Loja X - "
          "Parcela 3/10|", "06/10/2026|Estorno Y|-20,00|Estorno Y|"}, 1);
    linha("nubank-cartao-antigo.csv", "Nubank — cartão de crédito (CSV)", {"07/10/2026|Zé|42,00|Zé|"}, 0);
    linha("inter-conta.csv", "Inter — conta corrente (CSV)", {"02/10/2026|JOÃO|1234,56|Pix enviado - JOÃO|"}, 0);
    linha("inter-cartao.csv", "Inter — cartão de crédito (CSV)",
          {"04/10/2026|LOJA Z|1029,90|LOJA Z - Parcela 2/5|"}, 0);
    linha("c6-conta.csv", "C6 — conta corrente (CSV)",
          {"05/10/2026|CARLOS|75,50|Pix enviado - CARLOS|", "06/10/2026|ANA|-20,00|Pix recebido - ANA|"}, 0);
    linha("c6-cartao.csv", "C6 — cartão de crédito (CSV)", {"07/09/2026|CINEMA|35,00|CINEMA - Única|"}, 1);
    linha("bb.csv", "Banco do Brasil — conta corrente (CSV)", {"01/10/2026|01/10 10:00 MERCADO BOM|1234,56|"
          "Pix - Enviado - 01/10 10:00 MERCADO BOM|"}, 2);
    linha("itau.csv", "Itaú — conta corrente (CSV)", {"03/10/2026|PIX TRANSF ANA|50,00|PIX TRANSF ANA|"}, 1);
    linha("itau-antigo.csv", "Itaú — conta corrente (CSV)", {"03/10/2026|RSHOP-MERCADO|50,00|RSHOP-MERCADO|"}, 1);
    linha("bradesco.csv", "Bradesco — conta corrente (CSV)",
          {"02/07/2025|PIX ENVIADO|1296,00|PIX ENVIADO - DES: MARIA 02/07|"}, 1);
    linha("sgml.ofx", "OFX — conta corrente", {"02/10/2026|C&A São Paulo|45,90|C&A São Paulo|F1"}, 1);
    linha("xml.ofx", "OFX — cartão de crédito",
          {"04/10/2026|Loja Ç|99,99|Loja Ç - Parcela 1/3|C1", "11/10/2026|ESTORNO|-12,00|ESTORNO|C3"}, 1);
}

void TstExtratosBancarios::layouts()
{
    QFile arquivo(caminho(QTest::currentDataTag()));
    QVERIFY(arquivo.open(QIODevice::ReadOnly));
    const QByteArray conteudo = arquivo.readAll();
    const LeituraExtrato lido = leExtrato(conteudo, reconheceExtrato(conteudo, true));
    QCOMPARE(lido.erro, QString());
    QTEST(lido.layout, "layout");
    QStringList linhas;
    for (const LancamentoExtrato &l : lido.lancamentos)
        linhas << QStringList {l.data, l.fornecedor, l.valor, l.descricao, l.identificador}.join('|');
    QTEST(linhas, "esperadas");
    QTEST(lido.ignoradas, "ignoradas");
}

void TstExtratosBancarios::arquivosRecusados_data()
{
    QTest::addColumn<QString>("erro");
    QTest::newRow("truncado.ofx") << "^O arquivo OFX está incompleto";
    QTest::newRow("sem-lancamentos.ofx") << "^O arquivo OFX não tem lançamentos";
    QTest::newRow("nubank-data-errada.csv") << "^Linha 3: a data \"31/02/2026\" não segue o layout Nubank";
    QTest::newRow("nubank-cartao-valor-errado.csv") << "^Linha 2: o valor .* não segue o layout Nubank";
    QTest::newRow("planilha.xlsx") << "^O arquivo é uma planilha .* lê extratos em OFX";
    QTest::newRow("extrato.pdf") << "^O arquivo é um PDF";
    QTest::newRow("desconhecido e grande") << "^O layout deste arquivo não foi reconhecido";
}

// A clear reason, and nothing half-read into the grid.
void TstExtratosBancarios::arquivosRecusados()
{
    QFETCH(QString, erro);
    QTemporaryFile grande;
    QVERIFY(grande.open() && grande.write(QByteArray("a,b\n").repeated(50000)) > inicioQueDecide);
    grande.close();
    const QString tag = QTest::currentDataTag();
    const QString arquivo = tag.contains(' ') ? grande.fileName() : caminho(tag);
    QVERIFY2(LeitorDeExtrato(nullptr).le(arquivo).erro.contains(QRegularExpression(erro)),
             qPrintable(LeitorDeExtrato(nullptr).le(arquivo).erro));
    ImportarCSV d;
    bool lido = true;
    QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, arquivo), Q_ARG(QTableWidget *, grade(&d)));
    QVERIFY(!lido);
    QCOMPARE(grade(&d)->rowCount(), 0);
}

void TstExtratosBancarios::importaPelaJanela_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QString>("gastos"); // after importing the file twice
    QTest::newRow("ofx") << FINARA_SAMPLES "/extrato-exemplo.ofx" << "16|-1508.46|2026-10-02|2026-10-20|N";
    QTest::newRow("nubank") << FINARA_SAMPLES "/nubank-exemplo.csv" << "12|-2296.38|2026-10-01|2026-10-12|6";
    QTest::newRow("colunas escolhidas uma vez") << "mapeavel.csv" << "4|225.00|2026-10-05|2026-10-06|";
}

// The bank's id travels in column 0; an unknown header is asked for once, then remembered.
void TstExtratosBancarios::importaPelaJanela()
{
    QFETCH(QString, arquivo);
    QFETCH(QString, gastos);
    const QString completo = arquivo.contains('/') ? arquivo : caminho(arquivo);
    Finara w;
    RespostaModal resposta;
    QString ids;
    for (int vez = 0; vez < 2; ++vez) {
        resposta.aoAbrir([&](QWidget *janela) {
            auto *d = qobject_cast<ImportarCSV *>(janela);
            QVERIFY(d);
            d->setupData(&padrao);
            resposta.aoAbrir([&](QWidget *dialogo) {
                QCOMPARE(qobject_cast<QFileDialog *>(dialogo)->nameFilters().first(),
                         QStringLiteral("Extratos bancários (*.csv *.ofx *.txt)"));
                if (QWidget *foco = dialogo->focusWidget())
                    foco->clearFocus();
                qobject_cast<QFileDialog *>(dialogo)->selectFile(completo);
                qobject_cast<QDialog *>(dialogo)->accept();
            });
            if (vez == 0 && !arquivo.contains('/'))
                resposta.aoAbrir([](QWidget *colunas) { qobject_cast<QDialog *>(colunas)->accept(); });
            clica(d, "pushButton_lercsv");
            QVERIFY2(grade(d)->rowCount() > 0, qPrintable(resposta.textos().join('\n')));
            ids += grade(d)->item(0, 0)->data(Qt::UserRole).toString().left(1);
            clica(d, "pushButton_importar");
            QVERIFY(!d->isVisible());
        });
        clica(&w, "pushButton_importarCSV");
    }
    QCOMPARE(resposta.pendentes(), 0);
    QCOMPARE(resposta.vistas().size(), arquivo.contains('/') ? 4 : 5);
    QCOMPARE(banco.valor("SELECT CONCAT_WS('|', COUNT(*), SUM(valor), MIN(data), MAX(data)) FROM gastos")
                 .toString() + '|' + ids.left(1), gastos);
}

QTEST_MAIN(TstExtratosBancarios)
#include "tst_extratosbancarios.moc"
