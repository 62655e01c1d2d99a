#include "import/importarcsv.h"
#include "import/leitordeextrato.h"
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
    void leitura_data();
    void leitura();
    void importaPelaJanela_data();
    void importaPelaJanela();
    void ofxNumaLinhaSo();

private:
    static QString caminho(const QString &nome) { return FINARA_EXTRATOS "/" + nome; }
    static QTableWidget *grade(QWidget *d) { return d->findChild<QTableWidget *>(); }
    static void clica(QWidget *d, const char *nome) { d->findChild<QPushButton *>(nome)->click(); }

    BancoTeste banco {QStringLiteral("extratos")};
    QSqlDatabase padrao = QSqlDatabase::database();
};

void TstExtratosBancarios::leitura_data()
{
    QTest::addColumn<QString>("resultado"); // the start of the layout's name, or of the error
    QTest::addColumn<QStringList>("esperadas"); // data|fornecedor|valor|descrição|id
    const auto linha = [](const char *arquivo, const char *resultado, QStringList linhas) {
        QTest::newRow(arquivo) << QString::fromUtf8(resultado) << linhas;
    };
    linha("nubank-conta.csv", "Nubank", {"01/10/2026|PADARIA|23,90|Compra no débito - PADARIA|u1",
          "03/10/2026|ANA|-150,00|Transferência recebida pelo Pix - ANA - •••.1-••|u2"});
    linha("nubank-cartao.csv", "Nubank — cartão", {"03/10/2026|Loja|100,50|Loja - Parcela 3/10|",
          "06/10/2026|Estorno Y|-20,00|Estorno Y|"});
    linha("inter-conta.csv", "Inter — conta", {"02/10/2026|JOÃO|1234,56|Pix enviado - JOÃO|"});
    linha("inter-cartao.csv", "Inter — cartão", {"04/10/2026|LOJA|1029,90|LOJA - Parcela 2/5|"});
    linha("c6-conta.csv", "C6 — conta", {"05/10/2026|CARLOS|75,50|Pix enviado - CARLOS|",
          "06/10/2026|ANA|-20,00|Pix recebido - ANA|"});
    linha("c6-cartao.csv", "C6 — cartão", {"07/09/2026|CINEMA|35,00|CINEMA - Única|"});
    linha("bb.csv", "Banco do Brasil", {"01/10/2026|MERCADO|1234,56|Pix - Enviado - MERCADO|"});
    linha("itau.csv", "Itaú — conta", {"03/10/2026|PIX TRANSF ANA|50,00|PIX TRANSF ANA|"});
    linha("itau-antigo.csv", "Itaú — conta", {"03/10/2026|RSHOP|50,00|RSHOP|"});
    linha("bradesco.csv", "Bradesco", {"02/07/2025|PIX ENVIADO|1296,00|PIX ENVIADO - DES: ANA|"});
    linha("sgml.ofx", "OFX — conta corrente", {"02/10/2026|C&A São Paulo|45,90|C&A São Paulo|F1"});
    linha("xml.ofx", "OFX — cartão de crédito", {"04/10/2026|Loja Ç|99,99|Loja Ç - Parcela 1/3|C1",
          "11/10/2026|ESTORNO|-12,00|ESTORNO|C3"});
    linha("truncado.ofx", "O arquivo OFX está incompleto", {});
    linha("sem-lancamentos.ofx", "O arquivo OFX não tem lançamentos", {});
    linha("nubank-data-errada.csv", "Linha 3: a data \"31/02/2026\" não segue o layout Nubank", {});
    linha("inter-valor-errado.csv", "Linha 7: o valor", {}); // "12.50" where a comma is decimal
    linha("planilha.xlsx", "O arquivo é uma planilha (.xlsx ou .ods), não um extrato", {});
}

// Balances and bill payments left out; a refused file leaves nothing half-read in the grid.
void TstExtratosBancarios::leitura()
{
    QFETCH(QString, resultado);
    const QString arquivo = caminho(QTest::currentDataTag());
    const LeituraExtrato feita = LeitorDeExtrato(nullptr).le(arquivo);
    QStringList lido;
    for (const LancamentoExtrato &l : feita.lancamentos)
        lido << QStringList {l.data, l.fornecedor, l.valor, l.descricao, l.identificador}.join("|");
    QCOMPARE((feita.erro.isEmpty() ? feita.layout : feita.erro).left(resultado.size()), resultado);
    QTEST(lido, "esperadas");
    ImportarCSV d;
    QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_ARG(QString, arquivo),
                              Q_ARG(QTableWidget *, grade(&d)));
    QCOMPARE(grade(&d)->rowCount(), lido.size());
    if (!lido.isEmpty()) // the bank's id travels with its row
        QCOMPARE(grade(&d)->item(0, 0)->data(Qt::UserRole).toString(), lido[0].section('|', 4));
}

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

// An OFX 2 written on one line, larger than what recognition reads, is still an OFX.
void TstExtratosBancarios::ofxNumaLinhaSo()
{
    QFile xml(caminho("xml.ofx"));
    QVERIFY(xml.open(QIODevice::ReadOnly));
    const QByteArray texto = xml.readAll().replace('\n', "");
    const int inicio = texto.indexOf("<STMTTRN>"), fim = texto.indexOf("</STMTTRN>") + 10;
    QTemporaryFile arquivo(QDir::tempPath() + "/XXXXXX.ofx");
    QVERIFY(arquivo.open());
    arquivo.write(texto.left(inicio) + texto.mid(inicio, fim - inicio).repeated(1000) + texto.mid(fim));
    arquivo.flush();
    const LeituraExtrato feita = LeitorDeExtrato(nullptr).le(arquivo.fileName());
    QCOMPARE(feita.layout.left(3) + feita.erro, QStringLiteral("OFX"));
    QCOMPARE(feita.lancamentos.size(), 1001); // the estorno of the second statement too
}

QTEST_MAIN(TstExtratosBancarios)
#include "tst_extratosbancarios.moc"
