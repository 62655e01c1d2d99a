#include "import/importarcsv.h"
#include "register/lancamentos.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// A window's text with the non-breaking spaces it keeps "R$" and the number together with.
QString legivel(QString texto)
{
    return texto.replace(QChar(0xA0), ' ');
}

// One column of the register's rows, or "date|supplier|amount" with a column of -1.
QStringList naLista(const QTableView *lista, int coluna = 1)
{
    const QAbstractItemModel *modelo = lista->model();
    QStringList linhas;
    for (int l = 0; l < modelo->rowCount(); ++l)
        linhas << legivel(coluna >= 0 ? modelo->index(l, coluna).data().toString()
                                      : QStringList {modelo->index(l, 0).data().toString(),
                                                     modelo->index(l, 1).data().toString(),
                                                     modelo->index(l, 4).data().toString()}.join('|'));
    return linhas;
}

// Types each "field=text" into a form or the split dialog ("parte2:Farmácia=5,00" is the third
// part's amount and category), then its OK; a window that refused is closed.
RespostaModal::Acao preencher(const QStringList &campos)
{
    return [campos](QWidget *janela) {
        auto *partes = janela->findChild<QTableWidget *>();
        for (const QString &campo : campos) {
            const QString nome = campo.section('=', 0, 0), texto = campo.section('=', 1);
            if (!nome.startsWith("parte")) {
                janela->findChild<QLineEdit *>(nome)->setText(texto);
                continue;
            }
            const int linha = nome.mid(5, 1).toInt();
            while (partes->rowCount() <= linha)
                clicar(janela, "pushButton_maisUma");
            partes->item(linha, 1)->setText(texto);
            if (nome.contains(':'))
                static_cast<QComboBox *>(partes->cellWidget(linha, 0))->setCurrentText(nome.section(':', 1));
        }
        auto *botoes = janela->findChild<QDialogButtonBox *>();
        (partes ? botoes->button(QDialogButtonBox::Ok) : botoes->button(QDialogButtonBox::Save))->click();
        if (janela->isVisible())
            janela->close();
    };
}

} // namespace

// The register through its window, its form and its split dialog, on a scratch database. The
// server refuses to delete the application's expenses of supplier "Recusado".
class TstLancamentos : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("lancamentos")};
    QTemporaryDir pasta;

    // Every expense in key order: date, supplier, amount, category, account, bank id, statement
    // account, import and split group; "-" for none.
    QString gastos() const
    {
        return banco.valor("SELECT GROUP_CONCAT(CONCAT_WS('|', data, fornecedor, valor, IFNULL(idCategoria, '-'), "
            "IFNULL(c.nome, '-'), IFNULL(idTransacao, '-'), IFNULL(contaExtrato, '-'), IFNULL(idImportacao, '-'), "
            "IFNULL(idDivisao, '-')) ORDER BY idGasto SEPARATOR ' ') FROM gastos LEFT JOIN conta c USING (idConta)")
            .toString();
    }
    // The register as the main window opens it, a supplier's row selected, a button clicked.
    static void clicarNaLista(const QString &fornecedor, const char *botao)
    {
        Lancamentos janela;
        janela.setupData();
        auto *lista = janela.findChild<QTableView *>();
        lista->selectRow(naLista(lista).indexOf(fornecedor));
        clicar(&janela, botao);
    }
    void importar(const QString &arquivo)
    {
        RespostaModal respostas;
        respostas.sempre(QMessageBox::Yes); // only the new rows, then the summary
        QSqlDatabase padrao = QSqlDatabase::database();
        ImportarCSV importacao;
        importacao.setupData(&padrao);
        QMetaObject::invokeMethod(&importacao, "loadCsvIntoTableWidget", Q_ARG(QString, arquivo),
                                  Q_ARG(QTableWidget *, importacao.findChild<QTableWidget *>()));
        clicar(&importacao, "pushButton_importar");
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
        QVERIFY(banco.executa("CREATE TRIGGER recusa BEFORE DELETE ON gastos FOR EACH ROW IF OLD.fornecedor = "
                              "'Recusado' AND USER() LIKE 'finara_teste@%' THEN SIGNAL SQLSTATE '45000'; END IF"));
    }
    void init()
    {
        QVERIFY(banco.esvaziar());
        QVERIFY(banco.executa("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Farmácia')"));
        QVERIFY(banco.executa("INSERT INTO conta (idConta, nome, tipo) VALUES (1, 'Nubank', 2)"));
    }

    // A list that cannot be read says so, rather than showing an empty register.
    void listaQueFalha()
    {
        QVERIFY(banco.executa("RENAME TABLE gastos TO fora"));
        const auto devolve = qScopeGuard([this] { banco.executa("RENAME TABLE fora TO gastos"); });
        RespostaModal resposta;
        Lancamentos janela;
        janela.setupData();
        QCOMPARE(resposta.vistas(), QStringList {"A lista de gastos não pôde ser lida."});
    }

    // Category 7 was deleted; "compra 500 g" would match a search for "50%" where % is a wildcard.
    void lista_data()
    {
        QTest::addColumn<QString>("busca");
        QTest::addColumn<int>("categoria");
        QTest::addColumn<int>("conta");
        QTest::addColumn<QString>("meses"); // first and last, MM/yyyy
        QTest::addColumn<bool>("porValor"); // sorted by a click on the amount's header
        QTest::addColumn<QString>("listados");
        QTest::addColumn<QString>("resumo");
        const int todas = -1;
        QTest::newRow("tudo, o mais novo primeiro") << "" << todas << todas << "" << false
            << "Posto,Mercado X,Padaria,FARMACIA POPULAR,Farmácia São João" << "5 gastos, total de R$ 144,50";
        QTest::newRow("acentos e caixa no fornecedor") << " farmacia " << todas << todas << "" << false
            << "FARMACIA POPULAR,Farmácia São João" << "2 gastos, total de R$ 19,00";
        QTest::newRow("na descrição") << "GENERICO" << todas << todas << "" << false << "FARMACIA POPULAR"
                                      << "1 gasto, total de R$ 9,00";
        QTest::newRow("% é um caractere") << "50%" << todas << todas << "" << false << "Padaria"
                                          << "1 gasto, total de R$ 100,00";
        QTest::newRow("Não Classificado") << "" << 0 << todas << "" << false << "Posto,Mercado X"
                                          << "2 gastos, total de R$ 25,50";
        QTest::newRow("conta") << "" << todas << 1 << "" << false << "Padaria,Farmácia São João"
                               << "2 gastos, total de R$ 110,00";
        QTest::newRow("um mês inteiro") << "" << todas << todas << "02/2026-02/2026" << false
                                        << "Padaria,FARMACIA POPULAR" << "2 gastos, total de R$ 109,00";
        QTest::newRow("por valor") << "" << todas << todas << "" << true
            << "Posto,FARMACIA POPULAR,Farmácia São João,Mercado X,Padaria" << "5 gastos, total de R$ 144,50";
    }
    void lista()
    {
        QFETCH(QString, busca);
        QFETCH(int, categoria);
        QFETCH(int, conta);
        QFETCH(QString, meses);
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria, idConta) "
            "VALUES ('2026-01-10', 'Farmácia São João', 10, 'remédio', 2, 1), "
            "('2026-02-05', 'FARMACIA POPULAR', 9, 'genérico', 2, NULL), "
            "('2026-02-20', 'Padaria', 100, 'desconto 50%', 1, 1), ('2026-03-01', 'Mercado X', 20.5, "
            "'compra 500 g', 7, NULL), ('2026-03-15', 'Posto', 5, NULL, NULL, NULL)"));
        RespostaModal respostas;
        Lancamentos janela;
        janela.setupData();
        for (const auto &[nome, chave] : {std::pair("comboBox_categoria", categoria), std::pair("comboBox_conta", conta)}) {
            auto *lista = janela.findChild<QComboBox *>(nome);
            lista->setCurrentIndex(lista->findData(chave));
        }
        janela.findChild<QCheckBox *>()->setChecked(!meses.isEmpty());
        janela.findChild<QDateEdit *>("dateEdit_de")->setDate(QDate::fromString(meses.left(7), "MM/yyyy"));
        janela.findChild<QDateEdit *>("dateEdit_ate")->setDate(QDate::fromString(meses.mid(8), "MM/yyyy"));
        auto *lista = janela.findChild<QTableView *>();
        QFETCH(bool, porValor);
        if (porValor)
            lista->horizontalHeader()->setSortIndicator(4, Qt::AscendingOrder);
        // Enter lists at once, the order kept.
        janela.findChild<QLineEdit *>()->setText(busca);
        QTest::keyClick(janela.findChild<QLineEdit *>(), Qt::Key_Return);
        QTEST(naLista(lista).join(','), "listados");
        QTEST(legivel(janela.findChild<QLabel *>("label_resumo")->text()), "resumo");
        QCOMPARE(respostas.vistas(), QStringList());
    }

    // Read a page at a time as the list scrolls, all on one day: each once.
    void rolagem()
    {
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor) SELECT '2026-03-01', seq, 1 "
                              "FROM seq_1_to_450"));
        Lancamentos janela;
        janela.setupData();
        janela.show();
        auto *lista = janela.findChild<QTableView *>();
        for (int vez = 0; vez < 5; ++vez) {
            lista->scrollToBottom();
            QCoreApplication::processEvents();
        }
        QStringList listados = naLista(lista);
        QCOMPARE(listados.size(), 450);
        QCOMPARE(listados.removeDuplicates(), 0);
    }

    // Loja and Outra of Mercado in March 2026, Loja from a bank file: one of them edited from
    // the register or the detail window into Farmácia and Nubank, or a new one added.
    void edicao_data()
    {
        QTest::addColumn<QString>("onde"); // the supplier selected in the register, "" for a new one
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("motivo");   // of a refusal
        QTest::addColumn<QString>("mostrado"); // by the window it was opened from, afterwards
        QTest::addColumn<QString>("gravados");
        const QString lista = "10/03/2026|Outra|R$ 3,00 05/03/2026|Loja|R$ 10,00";
        const QString antes = "2026-03-05|Loja|10.00|1|-|F1|OFX 1|3|- 2026-03-10|Outra|3.00|1|-|-|-|-|-";
        QTest::newRow("data que não existe") << "Loja" << "31/02/2026" << "1,00"
            << "A data 31/02/2026 não existe (escreva dd/mm/aaaa, de 1900 a 2100)." << lista << antes;
        QTest::newRow("valor de três decimais") << "Loja" << "06/03/2026" << "12,345"
            << "O valor 12,345 não é um valor em reais." << lista << antes;
        QTest::newRow("aceito, com o id do banco") << "Loja" << "06/03/2026" << "1.234,56" << ""
            << "10/03/2026|Outra|R$ 3,00 06/03/2026|Nova|R$ 1.234,56"
            << "2026-03-06|Nova|1234.56|2|Nubank|F1|OFX 1|3|- 2026-03-10|Outra|3.00|1|-|-|-|-|-";
        QTest::newRow("novo, em Dinheiro") << "" << "07/03/2026" << "R$ 8" << ""
            << "10/03/2026|Outra|R$ 3,00 07/03/2026|Nova|R$ 8,00 05/03/2026|Loja|R$ 10,00"
            << antes + " 2026-03-07|Nova|8.00|2|Dinheiro|-|-|-|-";
        QTest::newRow("pelo detalhe") << "detalhe" << "09/03/2026" << "4,00" << "" << "2026-03-05|Loja|10.00"
            << "2026-03-05|Loja|10.00|1|-|F1|OFX 1|3|- 2026-03-09|Nova|4.00|2|Nubank|-|-|-|-";
    }
    void edicao()
    {
        QFETCH(QString, onde);
        QVERIFY(banco.executa("INSERT INTO gastos (data, fornecedor, valor, idCategoria, idTransacao, contaExtrato, "
            "idImportacao) VALUES ('2026-03-05', 'Loja', 10, 1, 'F1', 'OFX 1', 3), ('2026-03-10', 'Outra', 3, 1, NULL, "
            "NULL, NULL)"));
        RespostaModal respostas;
        QFETCH(QString, data);
        QFETCH(QString, valor);
        respostas.aoAbrir([&](QWidget *formulario) {
            formulario->findChild<QComboBox *>("comboBox_categoria")->setCurrentText("Farmácia");
            if (!onde.isEmpty()) // a new one stays in the cash account
                formulario->findChild<QComboBox *>("comboBox_conta")->setCurrentText("Nubank");
            preencher({"lineEdit_data=" + data, "lineEdit_fornecedor=Nova", "lineEdit_valor=" + valor})(formulario);
        });
        QString mostrado;
        if (onde == "detalhe") {
            JanelaDetalhe detalhe(1, QDate(2026, 3, 1), "Mercado", nullptr);
            auto *grade = detalhe.findChild<QTableWidget *>();
            emit grade->doubleClicked(grade->model()->index(grade->findItems("Outra", Qt::MatchExactly).value(0)->row(), 0));
            for (const QString &linha : linhasDaGrade(grade))
                mostrado += linha.section('|', 0, 1) + '|' + linha.section('|', 3);
        } else {
            Lancamentos janela;
            janela.setupData();
            auto *lista = janela.findChild<QTableView *>();
            lista->selectRow(naLista(lista).indexOf(onde));
            clicar(&janela, onde.isEmpty() ? "pushButton_novo" : "pushButton_editar");
            mostrado = naLista(lista, -1).join(' ');
        }
        QTEST(respostas.motivos().join(""), "motivo");
        QTEST(mostrado, "mostrado");
        QTEST(gastos(), "gravados");
    }

    // Super, 100.00 of Mercado this month from a bank file and import 5, split in the register;
    // then each category's sum this month and, in brackets, the amounts its detail window lists.
    void divisao_data()
    {
        QTest::addColumn<bool>("jaDividido"); // into 75.00 of Mercado, then 25.00 of Farmácia, split now
        QTest::addColumn<QStringList>("partes");
        QTest::addColumn<QString>("motivo");
        QTest::addColumn<QString>("relatorio");
        // Amount, category, bank id, split group (the first part's); the later import's notes.
        QTest::addColumn<QString>("gravados");
        const QString inteiro = "Mercado 100.00 [100.00]";
        QTest::newRow("não soma") << false << QStringList {"parte0=60,00", "parte1:Farmácia=30,00"}
            << "O gasto não foi dividido. As partes somam R$ 90,00, e o gasto é de R$ 100,00: a soma das partes precisa ser igual ao valor do "
               "gasto, centavo por centavo." << inteiro << "100.00|1|F1|- /1";
        QTest::newRow("parte zero") << false << QStringList {"parte0=100,00", "parte1:Farmácia=0"}
            << "O gasto não foi dividido. Nenhuma parte pode ser de R$ 0,00." << inteiro << "100.00|1|F1|- /1";
        QTest::newRow("parte recusada") << false << QStringList {"parte0=100,00", "parte1:Farmácia=dez"}
            << "A parte 2 não foi aceita; o gasto não foi dividido. O valor dez não é um valor em reais." << inteiro
            << "100.00|1|F1|- /1";
        QTest::newRow("soma ao centavo") << false << QStringList {"parte0=60,01", "parte1:Farmácia=39,99"} << ""
            << "Farmácia 39.99 [39.99] Mercado 60.01 [60.01]" << "60.01|1|F1|1 39.99|2|-|1 /2";
        QTest::newRow("parte de uma parte, em três") << true
            << QStringList {"parte0:Mercado=10,00", "parte1=10,00", "parte2:Farmácia=5,00"} << ""
            << "Não Classificado 10.00 [10.00] Farmácia 5.00 [5.00] Mercado 85.00 [75.00 10.00]"
            << "75.00|1|F1|1 10.00|1|-|1 10.00|-|-|1 5.00|2|-|1 /4";
    }
    void divisao()
    {
        QVERIFY(banco.executa("INSERT INTO gastos (idGasto, data, fornecedor, valor, idCategoria, idTransacao, "
                              "idImportacao) VALUES (1, CURDATE(), 'Super', 100, 1, 'F1', 5)"));
        QFETCH(bool, jaDividido);
        QVERIFY(!jaDividido || banco.executa("UPDATE gastos SET valor = 75, idDivisao = 1"));
        QVERIFY(!jaDividido || banco.executa("INSERT INTO gastos (data, fornecedor, valor, idCategoria, "
                                             "idImportacao, idDivisao) VALUES (CURDATE(), 'Super', 25, 2, 5, 1)"));
        QVERIFY(banco.executa("INSERT INTO gasto_repetido SELECT 9, idGasto FROM gastos")); // by a later import
        QFETCH(QStringList, partes);
        RespostaModal respostas;
        respostas.aoAbrir(preencher(partes));
        clicarNaLista("Super", "pushButton_dividir"); // the newest part
        // The boxes' texts after the split dialog's own name, and why.
        QTEST(legivel((respostas.vistas().mid(1) + respostas.motivos()).join(' ')), "motivo");
        Relatorios relatorio;
        auto *grade = relatorio.findChild<QTableWidget *>();
        QStringList somas;
        for (int linha = 0; linha < grade->rowCount(); ++linha) {
            emit grade->doubleClicked(grade->model()->index(linha, 2));
            QScopedPointer<JanelaDetalhe> detalhe(relatorio.findChild<JanelaDetalhe *>());
            QStringList valores;
            for (const QString &gasto : linhasDaGrade(detalhe->findChild<QTableWidget *>()))
                valores << gasto.section('|', 3);
            somas << QStringLiteral("%1 %2 [%3]").arg(grade->item(linha, 1)->text(), grade->item(linha, 2)->text(),
                                                      valores.join(' '));
        }
        QTEST(somas.join(' '), "relatorio");
        QTEST(banco.valor("SELECT CONCAT(GROUP_CONCAT(CONCAT_WS('|', valor, IFNULL(idCategoria, '-'), IFNULL("
            "idTransacao, '-'), IFNULL(idDivisao, '-')) ORDER BY idGasto SEPARATOR ' '), ' /', (SELECT COUNT(*) FROM "
            "gasto_repetido)) FROM gastos WHERE idImportacao = 5").toString(), "gravados");
    }

    // A bank file imported, an expense changed in the register, the file imported again: an OFX
    // file knows its rows by the bank's id, a card CSV by what they say.
    void reimportacao_data()
    {
        QTest::addColumn<QString>("extrato");
        QTest::addColumn<QByteArray>("botao");
        QTest::addColumn<QStringList>("campos");
        const QString ofx = "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><BANKACCTFROM>"
            "<BANKID>1<ACCTID>2</BANKACCTFROM><BANKTRANLIST>\n"
            "<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>20260305\n<TRNAMT>-100.00\n<FITID>F1\n<NAME>Super\n</STMTTRN>\n"
            "<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>20260306\n<TRNAMT>-10.00\n<FITID>F2\n<NAME>Bar\n</STMTTRN>\n"
            "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
        const QString csv = "date,title,amount\n2026-03-05,Super,100.00\n2026-03-06,Bar,10.00\n";
        const QStringList data {"lineEdit_data=06/03/2026", "lineEdit_fornecedor=Zé", "lineEdit_valor=90,00"};
        for (const QString &arquivo : {ofx, csv}) {
            const char *tipo = arquivo == ofx ? "OFX, " : "CSV, ";
            QTest::newRow(qPrintable(tipo + QString("fornecedor editado"))) << arquivo << QByteArray("pushButton_editar")
                                                                           << QStringList {"lineEdit_fornecedor=Zé"};
            QTest::newRow(qPrintable(tipo + QString("tudo editado"))) << arquivo << QByteArray("pushButton_editar") << data;
            QTest::newRow(qPrintable(tipo + QString("dividido"))) << arquivo << QByteArray("pushButton_dividir")
                                                                 << QStringList {"parte0=60,00", "parte1=40,00"};
        }
    }
    void reimportacao()
    {
        QFETCH(QString, extrato);
        QFETCH(QByteArray, botao);
        const QString arquivo = gravarExtrato(pasta.path(), extrato.toUtf8());
        importar(arquivo);
        {
            QFETCH(QStringList, campos);
            RespostaModal respostas;
            respostas.aoAbrir(preencher(campos));
            clicarNaLista("Super", botao);
        }
        const QString mudados = gastos();
        QVERIFY(mudados.contains(botao.contains("dividir") ? "|60.00|" : "|Zé|"));
        importar(arquivo);
        QCOMPARE(gastos(), mudados);
        {
            RespostaModal respostas;
            respostas.aoAbrir(preencher({"lineEdit_valor=80,00"})); // a second change keeps the file's row
            clicarNaLista(botao.contains("dividir") ? "Super" : "Zé", "pushButton_editar");
        }
        const QString outraVez = gastos();
        importar(arquivo);
        QCOMPARE(gastos(), outraVez);
    }

    // Two of three expenses selected, one noted as repeated by an import, the second perhaps
    // refused by the server: all or none deleted, with what an import noted of them.
    void apagar_data()
    {
        QTest::addColumn<QString>("segundo");
        QTest::addColumn<QString>("aviso");
        QTest::addColumn<QString>("restam");
        QTest::newRow("os dois") << "B" << "" << "C/3/2";
        QTest::newRow("o servidor recusa o segundo") << "Recusado" << "Nenhum gasto foi apagado."
                                                     << "A,Recusado,C/1,3/1,2";
    }
    void apagar()
    {
        QFETCH(QString, segundo);
        QVERIFY(banco.executa("INSERT INTO gastos (idGasto, data, fornecedor, valor) VALUES (1, '2026-03-03', 'A', "
                              "10), (2, '2026-03-02', ?, 20.5), (3, '2026-03-01', 'C', 1)", {segundo}));
        QVERIFY(banco.executa("INSERT INTO gasto_repetido VALUES (9, 1), (9, 3)"));
        // A's purchase goes with its only instalment, C's stays with its own.
        QVERIFY(banco.executa("INSERT INTO compra (idCompra, fornecedor, parcelas) VALUES (1, 'A', 3), (2, 'C', 3)"));
        QVERIFY(banco.executa("UPDATE gastos SET idCompra = idGasto DIV 2 + 1, parcela = 1, parcelas = 3 "
                              "WHERE idGasto <> 2"));
        RespostaModal respostas;
        respostas.responder(QMessageBox::Yes);
        Lancamentos janela;
        janela.setupData();
        auto *lista = janela.findChild<QTableView *>();
        lista->selectionModel()->select(QItemSelection(lista->model()->index(0, 0), lista->model()->index(1, 0)),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        clicar(&janela, "pushButton_apagar");
        QCOMPARE(legivel(respostas.vistas().value(0)), "Apagar 2 gastos, total de R$ 30,50?");
        QTEST(respostas.vistas().value(1), "aviso");
        QTEST(naLista(lista).join(',') + '/' + banco.valor("SELECT CONCAT(GROUP_CONCAT(idGasto ORDER BY idGasto), "
            "'/', (SELECT GROUP_CONCAT(idCompra) FROM compra)) FROM gasto_repetido").toString(), "restam");
    }
};

QTEST_MAIN(TstLancamentos)
#include "tst_lancamentos.moc"
