#include "statements/arquivoextrato.h"
#include "statements/data.h"
#include "statements/leitorofx.h"
#include "statements/leitorcsvbanco.h"
#include "statements/leitorproprio.h"
#include "statements/sugestaomapeamento.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

#include <QtTest>

// The statement readers alone, without a database: each table a reader, each row a text or a
// made-up bank file (tests/extratos) and what it must read as.
class TstLeitores : public QObject
{
    Q_OBJECT

    static QString emTexto(const LinhaExtrato &l)
    {
        const char natureza[] = {'G', 'S', 'P', 'E'};
        return QStringList {l.data.toString("dd/MM/yyyy"), l.fornecedor, QString::number(l.centavos), l.descricao,
                            l.idBanco, QString(natureza[int(l.natureza)])}.join('|');
    }

private slots:
    // "-": no amount in that notation.
    void valores_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("notacao");
        QTest::addColumn<QString>("centavos");
        const int b = int(NotacaoValor::Brasileira), v = int(NotacaoValor::VirgulaDecimal);
        const int p = int(NotacaoValor::PontoDecimal);
        for (const auto &[texto, notacao, centavos] : QList<std::tuple<const char *, int, const char *>> {
                 {"R$ 1.234,56", b, "123456"}, {"R$\xC2\xA0" "129,90", b, "12990"}, {"-0,01", b, "-1"},
                 {"12.50", b, "1250"}, {"-3.5", b, "-350"}, {"1.234", b, "123400"}, {"1 000,00", b, "100000"},
                 {"-R$ 5,00", b, "-500"}, {"R$ -5", b, "-500"}, {"99.999.999.999,99", b, "9999999999999"},
                 {"", b, "-"}, {"r$ 5,00", b, "-"}, {"12.", b, "-"}, {"1.23.45", b, "-"}, {"1,234.56", b, "-"},
                 {"R$ 1.234,56024", b, "-"}, {"1e-3", b, "-"}, {"0.050", b, "-"}, {"12.3456", b, "-"},
                 {"1.234.56", b, "-"}, {"1.5000", b, "-"}, {"12,3.4", b, "-"}, {"1.2,3", b, "-"}, {"4 5", b, "-"},
                 {"1,500", b, "-"}, {"100.000.000.000,00", b, "-"}, {"- 260,46", v, "-26046"},
                 {"R$ 29,90", v, "2990"}, {"12.50", v, "-"}, {"-45.90", p, "-4590"}, {"45.900", p, "4590"},
                 {"1,234.56", p, "123456"}, {"45.901", p, "-"}, {"34,00", p, "-"}, {"1,,50", v, "-"}})
            QTest::addRow("%s (%d)", texto, notacao) << QString::fromUtf8(texto) << notacao << centavos;
    }
    void valores()
    {
        QFETCH(QString, texto);
        QFETCH(int, notacao);
        const std::optional<qint64> lido = leCentavos(texto, NotacaoValor(notacao));
        QTEST(lido ? QString::number(*lido) : QStringLiteral("-"), "centavos");
        if (lido) // the grid's text reads back to the same amount
            QCOMPARE(leCentavos(valorNaGrade(*lido), NotacaoValor::Brasileira), lido);
    }

    // Every day and month of a few years agrees with Qt's parser, within the years kept.
    void datas_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("formato");
        QTest::addColumn<QDate>("data");
        for (const char *ano : {"1899", "1900", "2024", "2100", "2101"})
            for (int mes = 0; mes <= 13; ++mes)
                for (int dia = 0; dia <= 32; ++dia) {
                    const QString texto = QString::asprintf("%02d/%02d/%s", dia, mes, ano);
                    const QDate doQt = QDate::fromString(texto, "dd/MM/yyyy");
                    QTest::addRow("%s", qPrintable(texto)) << texto << "dd/MM/yyyy"
                        << (doQt.year() >= 1900 && doQt.year() <= 2100 ? doQt : QDate());
                }
        QTest::newRow("dois dígitos, 69") << "05/03/69" << "dd/MM/yy" << QDate(2069, 3, 5);
        QTest::newRow("dois dígitos, 70") << "05/03/70" << "dd/MM/yy" << QDate(1970, 3, 5);
        QTest::newRow("sem zero") << "5/3/2024" << "dd/MM/yyyy" << QDate();
        QTest::newRow("espaço antes") << " 05/03/2024" << "dd/MM/yyyy" << QDate();
        QTest::newRow("ofx") << "20261005" << "yyyyMMdd" << QDate(2026, 10, 5);
    }
    void datas()
    {
        QFETCH(QString, texto);
        QFETCH(QString, formato);
        QTEST(leData(texto, formato), "data");
    }

    // Lines end at LF, CR LF and a lone CR; our own fields split at every ";", a CSV's not
    // inside quotes.
    void linhasECampos_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("aspas"); // -1: the lines, not the fields
        QTest::addColumn<QStringList>("partes");
        const int linhas = -1, proprio = int(Aspas::Removidas), csv = int(Aspas::Protegem);
        QTest::newRow("CR só") << "a\rb\rc" << linhas << QStringList {"a", "b", "c"};
        QTest::newRow("CR LF e LF no fim") << "a\r\n\nb\n" << linhas << QStringList {"a", "", "b"};
        QTest::newRow("aspas removidas") << " \" b \" ;\"c;d\"" << proprio << QStringList {" b ", "c", "d"};
        QTest::newRow("resto na descrição") << "1;A;1;a; b" << proprio << QStringList {"1", "A", "1", "a; b"};
        QTest::newRow("aspas dobradas") << "\"Crédito de \"\"G\"\" (G)\",\"1,5\"" << csv
                                        << QStringList {"Crédito de \"G\" (G)", "1,5"};
    }
    void linhasECampos()
    {
        QFETCH(QString, texto);
        QFETCH(int, aspas);
        const QStringList partes = aspas < 0 ? linhasDoExtrato(texto)
                                             : camposDaLinha(texto, aspas ? ',' : ';', Aspas(aspas), 4);
        QTEST(partes, "partes");
    }

    // What each made-up bank file reads as: the layout (or the start of the error) and its rows
    // as data|fornecedor|centavos|descrição|id|G (gasto), S (saldo), P (pagamento de fatura) or
    // E (entrada: money in on an account; on a card it is a refund, a negative gasto).
    void extratos_data()
    {
        QTest::addColumn<QString>("resultado");
        QTest::addColumn<QStringList>("esperadas");
        const auto linha = [](const char *arquivo, const char *resultado, QStringList linhas) {
            QTest::newRow(arquivo) << QString::fromUtf8(resultado) << linhas;
        };
        linha("nubank-conta.csv", "Nubank", {"01/10/2026|PADARIA|2390|Compra no débito - PADARIA|u1|G",
              "03/10/2026|ANA|-15000|Transferência recebida pelo Pix - ANA - •••.1-••|u2|E",
              "08/10/2026|Pagamento de fatura|940|Pagamento de fatura|u3|P"});
        linha("nubank-cartao.csv", "Nubank — cartão", {"03/10/2026|Loja|10050|Loja - Parcela 3/10||G",
              "05/10/2026|Pagamento recebido|-50000|Pagamento recebido||P",
              "06/10/2026|Estorno Y|-2000|Estorno Y||G"});
        linha("nubank-cartao-virgula.csv", "Nubank — cartão", {"01/09/2026|Uber|3400|Uber||G",
              "02/09/2026|Crédito de \"Google One\" (Google One)|-999|Crédito de \"Google One\" (Google One)||G",
              "03/09/2026|IOF de compra internacional|123|IOF de compra internacional||G",
              "04/09/2026|Pagamento recebido|-26046|Pagamento recebido||P",
              "05/09/2026|Pedágio|850|Pedágio||G", "05/09/2026|Pedágio|850|Pedágio||G"});
        linha("inter-conta.csv", "Inter — conta", {"02/10/2026|JOÃO|123456|Pix enviado - JOÃO||G"});
        linha("inter-cartao.csv", "Inter — cartão", {"04/10/2026|LOJA|102990|LOJA - Parcela 2/5||G"});
        linha("c6-conta.csv", "C6 — conta", {"05/10/2026|CARLOS|7550|Pix enviado - CARLOS||G",
              "06/10/2026|ANA|-2000|Pix recebido - ANA||E"});
        linha("c6-cartao.csv", "C6 — cartão", {"07/09/2026|CINEMA|3500|CINEMA - Única||G",
              "10/10/2026|Inclusao de Pagamento|-80000|Inclusao de Pagamento - Única||P",
              "11/10/2026|Pag Fatura Boleto|-14586|Pag Fatura Boleto - Única||P"});
        linha("bb.csv", "Banco do Brasil", {"30/09/2026|Saldo Anterior|-100000|Saldo Anterior||S",
              "01/10/2026|MERCADO|123456|Pix - Enviado - MERCADO||G", "|S A L D O|0|S A L D O||S",
              "03/11/2026|Mercado Bom Preço|5000|Pix - Enviado - 03/11 10:29 Mercado Bom Preço||G"});
        linha("itau.csv", "Itaú — conta", {"02/10/2026|SALDO ANTERIOR|0|SALDO ANTERIOR||S",
              "03/10/2026|PIX TRANSF ANA|5000|PIX TRANSF ANA||G",
              "03/10/2026|SALDO APLIC AUT MAIS|0|SALDO APLIC AUT MAIS||S", "04/10/2026|SALDOS & CIA|3000|SALDOS & CIA||G"});
        linha("itau-antigo.csv", "Itaú — conta", {"03/10/2026|RSHOP|5000|RSHOP||G",
              "04/10/2026|SALDO DO DIA|0|SALDO DO DIA||S", "05/10/2026|SALDO CONTA CORRENTE|0|SALDO CONTA CORRENTE||S"});
        linha("bradesco.csv", "Bradesco", {"01/07/2025|SALDO ANTERIOR|0|SALDO ANTERIOR||S",
              "02/07/2025|PIX ENVIADO|129600|PIX ENVIADO - DES: ANA||G",
              "02/07/2025|SALDO TOTAL DISPONÍVEL DIA|0|SALDO TOTAL DISPONÍVEL DIA||S"});
        linha("sgml.ofx", "OFX — conta corrente", {"02/10/2026|C&A São Paulo|4590|C&A São Paulo|F1|G",
              "03/10/2026|SALDO DO DIA|100|SALDO DO DIA||S",
              "04/10/2026|SALDOS OUTLET 🎉A|8990|SALDOS OUTLET 🎉A|F3|G"});
        linha("xml.ofx", "OFX — cartão de crédito", {"04/10/2026|Loja Ç|9999|Loja Ç - Parcela 1/3|C1|G",
              "10/10/2026|PAGAMENTO RECEBIDO|-50000|PAGAMENTO RECEBIDO|C2|P",
              "11/10/2026|ESTORNO|-1200|ESTORNO|C3|G"});
        linha("truncado.ofx", "O arquivo OFX está incompleto", {});
        linha("sem-lancamentos.ofx", "O arquivo OFX não tem lançamentos", {});
        linha("investimentos.ofx", "O arquivo é um extrato de investimentos", {});
        linha("data-errada.ofx", "Linha 14 do OFX: DTPOSTED \"2026105120000[-3:BRT]\" não é uma data", {});
        linha("nubank-data-errada.csv", "Linha 3: a data \"31/02/2026\" não segue o layout Nubank", {});
        linha("inter-valor-errado.csv", "Linha 7: o valor", {}); // "12.50" where a comma is decimal
        linha("planilha.xlsx", "O arquivo é uma planilha (.xlsx ou .ods), não um extrato", {});
    }
    void extratos()
    {
        QFETCH(QString, resultado);
        const ArquivoExtrato arquivo = abreExtrato(FINARA_EXTRATOS "/" + QString(QTest::currentDataTag()));
        const LeituraExtrato lida = arquivo.erro.isEmpty() ? leExtrato(arquivo.bytes, arquivo.reconhecimento)
                                                           : LeituraExtrato {{}, {}, arquivo.erro};
        QStringList linhas;
        for (const LinhaExtrato &l : lida.linhas)
            linhas << emTexto(l);
        QCOMPARE((lida.erro.isEmpty() ? lida.layout : lida.erro).left(resultado.size()), resultado);
        QTEST(linhas, "esperadas");
    }

    // Instalments in each form a layout writes them; texts that only look like one (a show's
    // date, a shop's name) are decided by the layout's own column, or by its forms.
    void parcelas_data()
    {
        QTest::addColumn<QByteArray>("arquivo");
        QTest::addColumn<QString>("lida"); // n/N|fornecedor|data|data da compra
        const QByteArray nubank = "date,title,amount\n2026-10-03,", c6 = "Data de Compra;Nome no Cartão;Final do "
            "Cartão;Categoria;Descrição;Parcela;Valor (em US$);Cotação (em R$);Valor (em R$)\n26/05/2026;A;1;-;";
        const QByteArray inter = "\"Data\",\"Lançamento\",\"Categoria\",\"Tipo\",\"Valor\"\n03/10/2026,LOJA,X,";
        const auto ofx = [](const char *tipo, const char *nome) {
            return QByteArray("<OFX><") + tipo + "><STMTTRN><DTPOSTED>20261003<TRNAMT>-1.00<NAME>" + nome
                   + "</STMTTRN></" + tipo + "></OFX>";
        };
        QTest::newRow("nubank por extenso") << nubank + "Loja X - Parcela 3/10,1.00" << "3/10|Loja X|03/10/2026|";
        QTest::newRow("nubank PARCELA DE") << nubank + "LOJA PARCELA 03 DE 10,1.00" << "3/10|LOJA|03/10/2026|";
        QTest::newRow("nubank loja 10/10") << nubank + "Loja 10/10,1.00" << "0/0|Loja 10/10|03/10/2026|";
        QTest::newRow("c6 coluna, data da compra") << c6 + "DELL;4/12;0;0;500.00" << "4/12|DELL|26/08/2026|26/05/2026";
        QTest::newRow("c6 data no texto") << c6 + "TEATRO 03/10;Única;0;0;50.00" << "0/0|TEATRO 03/10|26/05/2026|";
        QTest::newRow("c6 1/1") << c6 + "X;1/1;0;0;5.00" << "0/0|X|26/05/2026|";
        QTest::newRow("inter tipo") << inter + "Parcela 2/5,\"R$ 1,00\"" << "2/5|LOJA|03/10/2026|";
        QTest::newRow("inter à vista") << inter + "Compra à vista,\"R$ 1,00\"" << "0/0|LOJA|03/10/2026|";
        QTest::newRow("ofx cartão sufixo") << ofx("CCSTMTRS", "LOJA X 03/10") << "3/10|LOJA X|03/10/2026|";
        QTest::newRow("ofx cartão prefixo") << ofx("CCSTMTRS", "PARC 03/10 LOJA X") << "3/10|LOJA X|03/10/2026|";
        QTest::newRow("ofx conta corrente") << ofx("STMTRS", "LOJA X 03/10") << "0/0|LOJA X 03/10|03/10/2026|";
    }
    void parcelas()
    {
        QFETCH(QByteArray, arquivo);
        const LeituraExtrato lida = leExtrato(arquivo, reconheceExtrato(arquivo, true));
        QVERIFY2(lida.erro.isEmpty() && lida.linhas.size() == 1, qPrintable(lida.erro));
        const LinhaExtrato &l = lida.linhas.first();
        QTEST(QStringLiteral("%1/%2|%3|%4|%5").arg(l.parcela).arg(l.parcelas)
                  .arg(l.fornecedor, dataNaGrade(l.data), l.dataDaCompra.isValid() ? dataNaGrade(l.dataDaCompra) : ""),
              "lida");
    }

    // A file no layout knows, read with the mapping guessed for it: the instalments' column by its
    // name; money in and out in columns of their own, as a checking account writes them.
    void mapeamento_data()
    {
        QTest::addColumn<QStringList>("linhas");
        QTest::addColumn<QStringList>("lidas"); // as in extratos, then n/N
        QTest::newRow("coluna de parcela") << QStringList {"Quando;Loja;Parcela;Quanto", "05/10/2026;TV;3/10;100,00",
                                                           "06/10/2026;Pão;Única;5,00"}
                                           << QStringList {"05/10/2026|TV|10000|TV||G 3/10", "06/10/2026|Pão|500|Pão||G 0/0"};
        QTest::newRow("entrada e saída") << QStringList {"Data;Historico;Entrada;Saida", "05/10/2026;Salario;5000,00;",
                                                         "06/10/2026;Mercado;;100,00"}
                                         << QStringList {"05/10/2026|Salario|-500000|Salario||E 0/0",
                                                         "06/10/2026|Mercado|10000|Mercado||G 0/0"};
    }
    void mapeamento()
    {
        QFETCH(QStringList, linhas);
        const LeituraExtrato lida = leCsvDoBanco(linhas, 0, sugereMapeamento(linhas, 0, ';'));
        QVERIFY2(lida.erro.isEmpty(), qPrintable(lida.erro));
        QStringList lidas;
        for (const LinhaExtrato &l : lida.linhas)
            lidas << emTexto(l) + QStringLiteral(" %1/%2").arg(l.parcela).arg(l.parcelas);
        QTEST(lidas, "lidas");
    }

    // Banks' ids are unique only within an account: each row names the one its statement names,
    // not the other side of a transfer.
    void contaDoOfx_data()
    {
        QTest::addColumn<QByteArray>("ofx");
        QTest::addColumn<QStringList>("contas");
        const auto ofx = [](const char *extrato, const char *conta, const char *primeira) {
            return QByteArray("<OFX><") + extrato + ">" + conta + "<BANKTRANLIST><STMTTRN><DTPOSTED>20261003<TRNAMT>-1"
                   "<FITID>1<NAME>A" + primeira + "</STMTTRN><STMTTRN><DTPOSTED>20261004<TRNAMT>-1<FITID>2<NAME>B"
                   "</STMTTRN></BANKTRANLIST></" + extrato + "></OFX>";
        };
        QTest::newRow("transferência para outra conta")
            << ofx("STMTRS", "<BANKACCTFROM><BANKID>0341<ACCTID>12345-6</BANKACCTFROM>",
                   "<BANKACCTTO><BANKID>0260<ACCTID>999-9</BANKACCTTO>")
            << QStringList {"OFX 0341/12345-6", "OFX 0341/12345-6"};
        QTest::newRow("cartão") << ofx("CCSTMTRS", "<CCACCTFROM><ACCTID>5555</CCACCTFROM>", "")
                                << QStringList {"OFX 5555", "OFX 5555"};
    }
    void contaDoOfx()
    {
        QFETCH(QByteArray, ofx);
        QStringList contas;
        for (const LinhaExtrato &l : leExtrato(ofx, reconheceExtrato(ofx, true)).linhas)
            contas << l.conta;
        QTEST(contas, "contas");
    }

    // An OFX 2 written on one line, larger than what recognition reads, is still an OFX.
    void ofxNumaLinhaSo()
    {
        QFile xml(FINARA_EXTRATOS "/xml.ofx");
        QVERIFY(xml.open(QIODevice::ReadOnly));
        const QByteArray texto = xml.readAll().replace('\n', "");
        const int inicio = texto.indexOf("<STMTTRN>"), fim = texto.indexOf("</STMTTRN>") + 10;
        QTemporaryFile arquivo(QDir::tempPath() + "/XXXXXX.ofx");
        QVERIFY(arquivo.open());
        arquivo.write(texto.left(inicio) + texto.mid(inicio, fim - inicio).repeated(1000) + texto.mid(fim));
        arquivo.flush();
        const ArquivoExtrato lido = abreExtrato(arquivo.fileName());
        const LeituraExtrato feita = leExtrato(lido.bytes, lido.reconhecimento);
        QCOMPARE(feita.layout.left(3) + feita.erro, QStringLiteral("OFX"));
        QCOMPARE(feita.linhas.size(), 1002); // the payment and the estorno of the second statement too
    }

    // A header no layout knows is offered for mapping only over rows of its width with a date.
    void cabecalhoDesconhecido_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<bool>("mapeavel");
        QTest::newRow("com uma linha") << QByteArray("Quando,Onde,Quanto\n\n05/10/2026,Loja,10.00\n") << true;
        QTest::newRow("só o cabeçalho") << QByteArray("Quando,Onde,Quanto\n\n") << false;
        QTest::newRow("linha mais curta") << QByteArray("Quando,Onde,Quanto\n05/10/2026,Loja\n") << false;
        QTest::newRow("um nome vazio") << QByteArray("Quando,,Quanto\n05/10/2026,Loja,10.00\n") << false;
    }
    void cabecalhoDesconhecido()
    {
        QFETCH(QByteArray, conteudo);
        QTEST(reconheceExtrato(conteudo, true).tipo == TipoDeExtrato::Mapeavel, "mapeavel");
    }

    // No row holds more than gastos can, and no message quotes more than a line's start.
    void textosLongosDemais_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        const QByteArray longo(2 * 1024 * 1024, 'x');
        QTest::newRow("csv do banco") << "date,title,amount\n2026-10-01," + longo + ",1.00\n";
        QTest::newRow("ofx") << "<OFX><STMTTRN><DTPOSTED>20261001<TRNAMT>-1<NAME>" + longo
                                    + "</STMTTRN></OFX>";
        QTest::newRow("nosso layout") << "01/10/2026;A;1,00;" + longo + "\n";
    }
    void textosLongosDemais()
    {
        QFETCH(QByteArray, conteudo);
        const Reconhecimento r = reconheceExtrato(conteudo.left(inicioQueDecide), false);
        const QString erro = r.tipo == TipoDeExtrato::Proprio
                                 ? leLayoutProprio(linhasDoExtrato(textoDoExtrato(conteudo))).erro
                                 : leExtrato(conteudo, r).erro;
        QVERIFY2(!erro.isEmpty() && erro.size() < 400, qPrintable(erro.left(400)));
    }
};

QTEST_GUILESS_MAIN(TstLeitores)
#include "tst_leitores.moc"
