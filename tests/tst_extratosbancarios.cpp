#include "accounts/tabelamovimentos.h"
#include "import/importarcsv.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QAction>
#include <QComboBox>
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
        // Each an import, its files ("a+b") read one after the other into its grid.
        QTest::addColumn<QStringList>("importacoes");
        QTest::addColumn<QString>("noBanco"); // (data, fornecedor, valor, descricao, idTransacao, conta)
        // The description of rows made expenses in the grid, or "description>another item of its menu".
        QTest::addColumn<QString>("marcada");
        // Stored at the end: expenses count|sum|first date, income count|sum, transfers count|paired.
        QTest::addColumn<QString>("gravado");
        QTest::addColumn<QString>("noResumo"); // a pattern of the last summary
        const auto caso = [](const char *nome, QStringList importacoes, QString noBanco) -> QTestData & {
            return QTest::newRow(nome) << importacoes << noBanco << QString();
        };
        const QString outraConta = "('2026-10-02', 'C&A São Paulo', 45.9, 'C&A São Paulo', 'F1', "
                                   "'OFX 0001/999')";
        const QString ofx = "extrato-exemplo.ofx", nubank = "nubank-exemplo.csv", mapeavel = "mapeavel.csv";
        caso("ofx duas vezes", {ofx, ofx}, "") << "7|2745.77|2026-10-02 e 1|3500.00 t 1|0" << "9 linhas repetidas";
        caso("nubank duas vezes", {nubank, nubank}, "") << "5|1651.81|2026-10-01 e 1|2800.00 t 1|0"
                                                        << "7 linhas repetidas";
        caso("colunas escolhidas uma vez", {mapeavel, mapeavel}, "") << "2|112.50|2026-10-05 e 0 t 0|0"
                                                                    << "2 linhas repetidas";
        caso("mesmo arquivo duas vezes na grade", {"nubank-cartao-virgula.csv+nubank-cartao-virgula.csv"}, "")
            << "5|42.24|2026-09-01 e 0 t 1|0" << "fatura de R.+260,46.*\n6 linhas repetidas";
        caso("duas contas numa grade", {"nubank-cartao-virgula.csv+nubank-exemplo.csv"}, "")
            << "5|42.24|2026-09-01 e 0 t 1|0" << "^5 gastos";
        caso("só uma entrada", {"nubank-so-entrada.csv"}, "") << "0 e 1|100.00 t 0|0" << "^O extrato foi importado";
        caso("fatura paga dos dois lados", {"xml.ofx", "fatura-conta.csv"}, "")
            << "3|127.99|2026-10-04 e 0 t 2|2" << "^1 pagamento de fatura de R.+500,00";
        caso("mesmo FITID noutra conta", {"sgml.ofx"}, outraConta) << "3|181.70|2026-10-02 e 0 t 0|0" << "^2 gastos";
        caso("mesmo FITID na mesma conta", {"sgml.ofx"}, QString(outraConta).replace("0001/999", "0341/12345-6"))
            << "2|135.80|2026-10-02 e 0 t 0|0" << "1 linha repetida";
        caso("parcela com a data da compra", {"c6-parcelas.csv"}, "('2026-05-26', 'DELL', 500, 'DELL - 1/10', "
             "NULL, NULL)") << "2|1000.00|2026-05-26 e 0 t 0|0" << "^1 gasto gravado";
        QTest::newRow("saldo marcado entra") << QStringList {"sgml.ofx"} << "" << "SALDO DO DIA"
                                             << "3|136.80|2026-10-02 e 0 t 0|0" << "^3 gastos";
        caso("grade vazia", {""}, "") << "0 e 0 t 0|0" << "nada foi gravado";
        QTest::newRow("saldo zero como entrada") << QStringList {"itau.csv"} << ""
                                                 << "SALDO ANTERIOR>Importar como entrada" << "0 e 0 t 0|0"
                                                 << "uma entrada é dinheiro que entrou na conta";
    }
    // Money in on an account is income, a card's is a refund, a bill payment is a transfer paired
    // with its other side; rows left out are named in the summary; rows repeated in gastos or by
    // an earlier file of the grid stay out ("Importar só as novas").
    void importaPelaJanela()
    {
        QFETCH(QStringList, importacoes);
        QFETCH(QString, noBanco);
        QFETCH(QString, marcada);
        QVERIFY(banco.esvaziar());
        QVERIFY(noBanco.isEmpty() || banco.executa("INSERT INTO gastos (data, fornecedor, valor, descricao, "
                                                   "idTransacao, contaExtrato) VALUES " + noBanco));
        RespostaModal resposta; // "Importar só as novas", then OK
        resposta.sempre(QMessageBox::Yes);
        for (int vez = 0; vez < importacoes.size(); ++vez) {
            ImportarCSV d;
            d.setupData(&padrao);
            auto *grade = d.findChild<QTableWidget *>();
            for (const QString &arquivo : importacoes.at(vez).split('+', Qt::SkipEmptyParts)) {
                if (vez == 0 && arquivo.startsWith("mapeavel"))
                    resposta.aoAbrir([](QWidget *colunas) { qobject_cast<QDialog *>(colunas)->accept(); });
                QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_ARG(QString, caminho(arquivo)),
                                          Q_ARG(QTableWidget *, grade));
            }
            for (QTableWidgetItem *item : grade->findItems(marcada.section('>', 0, 0), Qt::MatchExactly))
                grade->selectRow(item->row());
            const QString item = marcada.contains('>') ? marcada.section('>', 1) : "Importar como gasto";
            for (QAction *acao : grade->actions()) // the grid's context menu
                if (!marcada.isEmpty() && acao->text() == item)
                    acao->trigger();
            d.findChild<QPushButton *>("pushButton_importar")->click();
        }
        QFETCH(QString, noResumo);
        const QString resumo = resposta.vistas().value(resposta.vistas().size() - 1) + '\n'
                               + resposta.motivos().value(resposta.motivos().size() - 1);
        QVERIFY2(resumo.contains(QRegularExpression(noResumo, QRegularExpression::MultilineOption)),
                 qPrintable(resumo));
        QTEST(banco.valor("SELECT CONCAT(CONCAT_WS('|', COUNT(*), SUM(valor), MIN(data)), ' e ', "
                          "(SELECT CONCAT_WS('|', COUNT(*), SUM(valor)) FROM entrada), ' t ', "
                          "(SELECT CONCAT_WS('|', COUNT(*), COUNT(idPar)) FROM transferencia)) FROM gastos")
                  .toString(), "gravado");
    }

    // Three months of a household: a checking account's OFX, a Nubank account's CSV and a Nubank
    // card's CSV each month, every statement overlapping the one before. The report's months
    // hold exactly what was spent, the income beneath them, and the card's bill is a transfer.
    void tresMesesDeUmaCasa()
    {
        QVERIFY(banco.esvaziar());
        RespostaModal resposta;
        resposta.sempre(QMessageBox::Yes);
        QTemporaryDir pasta;
        QStringList resumos;
        for (int atras = 3; atras >= 1; --atras) {
            const QDate inicio = QDate::currentDate().addDays(1 - QDate::currentDate().day()).addMonths(-atras);
            const auto dia = [&](int d, int maisAtras = 0) { return inicio.addMonths(-maisAtras).addDays(d); };
            QString ofx = "<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><BANKACCTFROM><BANKID>0341<ACCTID>12345-6"
                          "</BANKACCTFROM><BANKTRANLIST>";
            const auto transacao = [&](const QDate &data, const QString &valor, const QString &nome) {
                ofx += QString("<STMTTRN><DTPOSTED>%1<TRNAMT>%2<FITID>%3%1<NAME>%3</STMTTRN>")
                           .arg(data.toString("yyyyMMdd"), valor, nome);
            };
            if (atras < 3)
                transacao(dia(27, 1), "-35.00", "FARMACIA");
            for (const auto &[d, valor, nome] : QList<std::tuple<int, QString, QString>> {
                     {0, "9500.00", "SALARIO"}, {4, "-2150.00", "ALUGUEL"}, {7, "-500.00", "PGTO FAT CARTAO"},
                     {14, QString("-%1.00").arg(400 + atras), "SUPERMERCADO"}, {27, "-35.00", "FARMACIA"}})
                transacao(dia(d), valor, nome);
            QString conta = "Data,Valor,Identificador,Descrição\n", cartao = "date,title,amount\n";
            const auto linhaDaConta = [&](const QDate &data, const QString &valor, const QString &texto) {
                conta += QString("%1,%2,%3%1,%4\n").arg(data.toString("dd/MM/yyyy"), valor, texto.left(4), texto);
            };
            if (atras < 3) {
                linhaDaConta(dia(25, 1), "-150.00", "Compra no débito - POSTO");
                cartao += dia(26, 1).toString(Qt::ISODate) + ",Uber,23.00\n";
            }
            linhaDaConta(dia(2), QString("-%1.00").arg(20 + atras), "Compra no débito - PADARIA");
            linhaDaConta(dia(15), "100.00", "Transferência recebida pelo Pix - ANA");
            linhaDaConta(dia(25), "-150.00", "Compra no débito - POSTO");
            for (const auto &[d, titulo, valor] : QList<std::tuple<int, QString, QString>> {
                     {1, QString("Loja - Parcela %1/3").arg(4 - atras), "100.00"}, {9, "Pagamento recebido", "-500.00"},
                     {10, "iFood", "45.90"}, {10, "iFood", "45.90"}, {12, atras == 2 ? "Estorno iFood" : "", "-45.90"},
                     {26, "Uber", "23.00"}})
                if (!titulo.isEmpty())
                    cartao += QString("%1,%2,%3\n").arg(dia(d).toString(Qt::ISODate), titulo, valor);
            for (const QString &extrato : {ofx + "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>", conta,
                                           cartao}) {
                ImportarCSV d;
                d.setupData(&padrao);
                QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget",
                                          Q_ARG(QString, gravarExtrato(pasta.path(), extrato.toUtf8())),
                                          Q_ARG(QTableWidget *, d.findChild<QTableWidget *>()));
                d.findChild<QPushButton *>("pushButton_importar")->click();
                resumos << resposta.motivos().value(resposta.motivos().size() - 1);
            }
        }
        QVERIFY2(resumos.first().contains(QRegularExpression("1 pagamento de fatura de R.{1,2}500,00 não é gasto")),
                 qPrintable(resumos.first()));
        Relatorios relatorio;
        const auto *saldo = relatorio.findChild<QTableWidget *>("tableWidget_saldo");
        QStringList meses;
        for (int atras = 3; atras >= 1; --atras)
            meses << QStringList {saldo->item(0, 1 + atras)->text(), saldo->item(1, 1 + atras)->text()}.join(" / ");
        QCOMPARE(meses.join(" | ").replace(QChar(0xA0), ' '),
                 "R$ 9.600,00 / R$ 2.975,80 | R$ 9.600,00 / R$ 2.927,90 | R$ 9.600,00 / R$ 2.971,80");
        QCOMPARE(banco.valor("SELECT CONCAT(COUNT(*), ' ', COUNT(idPar)) FROM transferencia").toString(), "6 6");
    }

    // An account made from the file's suggestion takes the suggestion's place in the box.
    void contaCriadaDaSugestao()
    {
        QVERIFY(banco.esvaziar());
        ImportarCSV d;
        d.setupData(&padrao);
        QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget", Q_ARG(QString, caminho("nubank-cartao.csv")),
                                  Q_ARG(QTableWidget *, d.findChild<QTableWidget *>()));
        auto *caixa = d.findChild<QComboBox *>("comboBox_conta");
        const QString sugerida = caixa->currentText();
        RespostaModal resposta;
        resposta.aoAbrir([](QWidget *dialogo) { qobject_cast<QDialog *>(dialogo)->accept(); });
        clicar(&d, "pushButton_novaConta");
        QStringList itens;
        for (int i = 0; i < caixa->count(); ++i)
            itens << caixa->itemText(i);
        QCOMPARE(itens, QStringList({"(sem conta)", caixa->currentText()}));
        QCOMPARE(QString(sugerida).replace("nova, ", ""), caixa->currentText());
    }

    // Two card payments of one amount in the same days and one payment from the checking account:
    // the checking one pairs once, the other card payment stays alone.
    void pagamentoPareadoUmaVez()
    {
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa("INSERT INTO importacao (idImportacao, arquivo) VALUES (1, 'conta'), (2, 'cartao')"));
        QVERIFY(banco.executa("INSERT INTO transferencia (idTransferencia, data, valor, idImportacao) VALUES "
                              "(1, '2026-10-08', 500, 1), (2, '2026-10-09', -500, 2), (3, '2026-10-10', -500, 2)"));
        const Resultado<int> pares = TabelaMovimentos::pareiaTransferencias(2);
        QVERIFY(pares.ok());
        QCOMPARE(pares.valor(), 1);
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(IFNULL(idPar, '-') ORDER BY idTransferencia) FROM transferencia")
                     .toString(),
                 "2,1,-");
    }

    // Two desktops importing overlapping statements at the same moment, the server slowed so that
    // each reads gastos before the other commits: each expense is stored once.
    void duasImportacoesAoMesmoTempo()
    {
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa("CREATE OR REPLACE TRIGGER lento BEFORE INSERT ON gastos FOR EACH ROW "
                              "SET @x = SLEEP(0.05)"));
        QTemporaryDir pasta;
        QList<QProcess *> desktops;
        for (int primeiro : {1, 11}) { // days 1 to 20, and 11 to 30
            QByteArray linhas;
            for (int dia = primeiro; dia < primeiro + 20; ++dia)
                linhas += QString::asprintf("%02d/03/2026;Loja %d;%d,00;\n", dia, dia, dia).toUtf8();
            desktops << new QProcess(this);
            desktops.last()->start(FINARA_IMPORTADOR, {banco.nome(), gravarExtrato(pasta.path(), linhas)});
        }
        for (QProcess *desktop : qAsConst(desktops))
            QVERIFY(desktop->waitForFinished(60000) && desktop->exitCode() == 0);
        QVERIFY(banco.executa("DROP TRIGGER lento"));
        QCOMPARE(banco.valor("SELECT CONCAT(COUNT(*), ' ', COUNT(DISTINCT data)) FROM gastos").toString(), "30 30");
    }
};

QTEST_MAIN(TstExtratosBancarios)
#include "tst_extratosbancarios.moc"
