#include "accounts/janelacontas.h"
#include "budget/janelaorcamento.h"
#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "database/tabelaconsulta.h"
#include "import/importacoes.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QtTest>
#include <QtWidgets>

// Categories, their classification and the grids of the registers added since, on a scratch database.
class TstCadastros : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("cadastros")};

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }
    // Keys that do not follow the sorted names (aluguel, Lazer, Mercado).
    void init()
    {
        QVERIFY(banco.esvaziar() && banco.executa("INSERT INTO categoria VALUES (1, 'Mercado'), "
                                                  "(2, 'aluguel'), (3, 'Lazer')"));
    }

    // Inserted one by one beside those three: how many names the table keeps.
    void nomesAceitos_data()
    {
        QTest::addColumn<QStringList>("nomes");
        QTest::addColumn<int>("aceitos");
        QTest::newRow("em branco") << QStringList {"", "   ", "\t", "\n ", "\u00A0"} << 0;
        QTest::newRow("emojis diferentes") << QStringList {"Lazer 🎉", "Lazer 🎮"} << 2;
        QTest::newRow("maiúsculas e acentos") << QStringList {"Saúde", "SAUDE", "saúde "} << 1;
    }
    void nomesAceitos()
    {
        QFETCH(QStringList, nomes);
        for (const QString &nome : qAsConst(nomes))
            banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {nome});
        QTEST(banco.valor("SELECT COUNT(*) FROM categoria").toInt() - 3, "aceitos");
    }

    // An empty name deletes "Lazer", the second row, instead. Names that differ from one there
    // only in their runs of blanks are refused.
    void categorias_data()
    {
        QTest::addColumn<bool>("semConexaoAoAbrir");
        QTest::addColumn<QString>("existente"); // a fourth category
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("restam"); // in key order
        QTest::addColumn<QString>("motivo"); // of the refusal
        QTest::newRow("espaços em volta") << false << "" << " Gás\t" << "Mercado,aluguel,Lazer,Gás" << "";
        QTest::newRow("apaga pela chave") << false << "" << "" << "Mercado,aluguel" << "";
        QTest::newRow("lista falhou ao abrir") << true << "" << "Nova" << "Mercado,aluguel,Lazer,Nova" << "";
        QTest::newRow("reservado com dois espaços") << false << "" << "Não  Classificado" << "Mercado,aluguel,Lazer"
            << "\"Não Classificado\" é como as listas e o relatório chamam os gastos sem categoria. Escolha outro nome.";
        QTest::newRow("outra com espaços a mais") << false << "Casa Nova" << "casa \u00A0\tnova"
                                                  << "Mercado,aluguel,Lazer,Casa Nova"
                                                  << "Já existe a categoria “Casa Nova”: espaços a mais não contam.";
    }
    void categorias()
    {
        QFETCH(bool, semConexaoAoAbrir);
        QFETCH(QString, existente);
        QFETCH(QString, digitado);
        QVERIFY(existente.isEmpty() || banco.executa("INSERT INTO categoria VALUES (4, ?)", {existente}));
        if (semConexaoAoAbrir)
            QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        RespostaModal resposta;
        Categoria d;
        d.setupData();
        QCOMPARE(resposta.vistas().size(), int(semConexaoAoAbrir));
        QVERIFY(!semConexaoAoAbrir || banco.abrirPadrao());
        auto *lista = d.findChild<QTableView *>();
        const int antes = resposta.motivos().size();
        if (digitado.isEmpty()) {
            resposta.responder(QMessageBox::Yes);
            emit lista->doubleClicked(lista->model()->index(1, 1));
        } else {
            d.findChild<QLineEdit *>()->setText(digitado);
            clicar(&d, "pushButton_inserir");
        }
        QTEST(banco.valor("SELECT GROUP_CONCAT(categoria ORDER BY idCategoria) FROM categoria")
                  .toString(), "restam");
        QTEST(resposta.motivos().mid(antes).join(' ').trimmed(), "motivo");
        QVERIFY(lista->isColumnHidden(0));
    }

    // An account goes only while nothing refers to it.
    void contaApagada_data()
    {
        QTest::addColumn<QString>("referencia"); // a row pointing at the account
        QTest::addColumn<int>("restam");
        QTest::newRow("sem nada lançado") << "" << 0;
        QTest::newRow("com gasto") << "INSERT INTO gastos (data, valor, idConta) VALUES (NOW(), 1, 7)" << 1;
        QTest::newRow("com entrada") << "INSERT INTO entrada (data, valor, idConta) VALUES (NOW(), 1, 7)" << 1;
        QTest::newRow("com transferência") << "INSERT INTO transferencia (data, valor, idConta) VALUES (NOW(), 1, 7)"
                                           << 1;
        QTest::newRow("com importação") << "INSERT INTO importacao (arquivo, idConta) VALUES ('x', 7)" << 1;
        QTest::newRow("com compra parcelada") << "INSERT INTO compra (idConta, fornecedor, parcelas) VALUES (7, 'X', 3)"
                                              << 1;
    }
    void contaApagada()
    {
        QFETCH(QString, referencia);
        QVERIFY(banco.executa("DELETE FROM conta") && banco.executa("INSERT INTO conta VALUES (7, 'Nubank', 0, NULL)"));
        QVERIFY(referencia.isEmpty() || banco.executa(referencia));
        RespostaModal resposta;
        resposta.responder(QMessageBox::Yes);
        JanelaContas janela;
        janela.findChild<QTableWidget *>()->selectRow(0);
        clicar(&janela, "pushButton_apagar");
        QTEST(banco.valor("SELECT COUNT(*) FROM conta").toInt(), "restam");
        QCOMPARE(resposta.vistas().size(), 1 + int(referencia.size() > 0)); // the refusal says why
    }

    // A new name shows at once in the list; another account's name is refused, saying why.
    void contaRenomeada_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("lista");
        QTest::addColumn<int>("janelas"); // the question for the name and the refusal
        QTest::newRow("outro nome") << "Nubank roxo" << "Inter Nubank roxo" << 1;
        QTest::newRow("nome de outra conta") << "inter" << "Inter Nubank" << 2;
    }
    void contaRenomeada()
    {
        QFETCH(QString, nome);
        QVERIFY(banco.executa("DELETE FROM conta")
                && banco.executa("INSERT INTO conta VALUES (7, 'Nubank', 0, NULL), (8, 'Inter', 0, NULL)"));
        RespostaModal resposta;
        resposta.aoAbrir([nome](QWidget *janela) {
            auto *pergunta = qobject_cast<QInputDialog *>(janela);
            QVERIFY(pergunta);
            pergunta->setTextValue(nome);
            pergunta->accept();
        });
        JanelaContas janela;
        auto *lista = janela.findChild<QTableWidget *>();
        lista->selectRow(lista->findItems("Nubank", Qt::MatchExactly).value(0)->row());
        clicar(&janela, "pushButton_renomear");
        QStringList nomes;
        for (int linha = 0; linha < lista->rowCount(); ++linha)
            nomes << lista->item(linha, 0)->text();
        nomes.sort();
        QTEST(nomes.join(' '), "lista");
        QTEST(int(resposta.vistas().size()), "janelas");
    }

    // A supplier lists the expense whatever its category, a description only while it has none.
    // With two categories selected, the first one selected is given, and the list shows it: also
    // for an expense only its description listed, without a box.
    void classificacao_data()
    {
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<QString>("antes");
        QTest::addColumn<QString>("depois"); // the first row classified
        QTest::newRow("fornecedor e descrição") << "padaria" << "1:Não Classificado 3:Não Classificado "
            "2:Mercado" << "3:Não Classificado 1:Mercado 2:Mercado";
        QTest::newRow("só a descrição") << "gasolina" << "3:Não Classificado" << "3:Mercado";
    }
    void classificacao()
    {
        QFETCH(QString, filtro);
        QVERIFY(banco.executa("INSERT INTO gastos (idGasto, data, fornecedor, valor, descricao, "
            "idCategoria) VALUES (1, '2025-03-01', 'Padaria Sol', 1, 'pão', NULL), "
            "(2, '2025-03-15', 'Padaria Sol', 2, 'bolo', 1), "
            "(3, '2025-03-31', 'Posto Lua', 3, 'gasolina padaria', NULL), "
            "(4, '2025-03-20', 'Posto Lua', 4, 'lanche padaria', 3)"));
        AnaliseDados d;
        RespostaModal resposta;
        d.setupData();
        d.findChild<QComboBox *>()->setCurrentIndex(2);
        d.findChild<QSpinBox *>()->setValue(2025);
        d.findChild<QLineEdit *>("lineEdit_filtro")->setText(filtro);
        clicar(&d, "pushButton_filtro");
        auto *grade = d.findChild<QTableWidget *>();
        const auto categorias = [grade] {
            QStringList linhas;
            for (int l = 0; l < grade->rowCount(); ++l)
                linhas << grade->item(l, 0)->text() + ':' + grade->item(l, 4)->text();
            return linhas.join(' ');
        };
        QTEST(categorias(), "antes");
        auto *lista = d.findChild<QTableView *>("tableView_categoria");
        for (int linha : {2, 0}) // Mercado, then aluguel
            lista->selectionModel()->select(lista->model()->index(linha, 1),
                                            QItemSelectionModel::Select);
        grade->selectRow(0);
        const int caixas = resposta.vistas().size(); // this month's, when it has no expenses
        clicar(&d, "pushButton_classificar");
        QTEST(categorias(), "depois");
        QCOMPARE(resposta.vistas().size(), caixas);
    }

    // Budgets and imports, sorted by a click on a column's header; then, for the imports, the
    // newest undone. Each row at its own height, the columns across the whole grid.
    void gradesDasJanelasNovas_data()
    {
        QTest::addColumn<bool>("importacoes"); // or the budgets
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("ordenada");
        QTest::newRow("orçamento por valor") << false << 1 << "|R$ 80,00|R$ 3.645,60";
        QTest::newRow("importações por total") << true << 4 << "-R$ 45,90|R$ 3.645,60|R$ 1.234.567,89";
        QTest::newRow("importações por data") << true << 1 << "20/11/2025 09:05|05/01/2026 14:20|"
                                                              "05/01/2026 18:40";
    }
    void gradesDasJanelasNovas()
    {
        QFETCH(bool, importacoes);
        QFETCH(int, coluna);
        QVERIFY(banco.executa("INSERT INTO orcamento VALUES (1, 3645.60), (2, 80)"));
        QVERIFY(banco.executa("INSERT INTO importacao (quando, arquivo, linhas, total) VALUES "
            "('2026-01-05 14:20', 'a.csv', 2, 3645.60), ('2025-11-20 09:05', 'b.csv', 1, -45.90), "
            "('2026-01-05 18:40', 'c.ofx', 1, 1234567.89)"));
        QScopedPointer<QDialog> janela(importacoes ? static_cast<QDialog *>(new Importacoes) : new JanelaOrcamento);
        QMetaObject::invokeMethod(janela.data(), "setupData");
        janela->show();
        QVERIFY(QTest::qWaitForWindowExposed(janela.data()));
        auto *grade = janela->findChild<QTableWidget *>();
        grade->horizontalHeader()->setSortIndicator(coluna, Qt::AscendingOrder);
        QStringList textos;
        for (int linha = 0; linha < grade->rowCount(); ++linha)
            textos << grade->item(linha, coluna)->text().replace(QChar(0xA0), ' ');
        QTEST(textos.join('|'), "ordenada");
        if (importacoes) {
            RespostaModal resposta;
            resposta.responder(QMessageBox::Yes);
            grade->selectRow(grade->rowCount() - 1);
            clicar(janela.data(), "pushButton_desfazer");
            QCOMPARE(grade->rowCount(), 2);
        }
        QHeaderView *colunas = grade->horizontalHeader();
        const int ultima = colunas->logicalIndex(colunas->count() - 1);
        QCOMPARE(colunas->sectionViewportPosition(ultima) + colunas->sectionSize(ultima), grade->viewport()->width());
        QCOMPARE(grade->rowHeight(grade->rowCount() - 1), grade->rowHeight(0));
    }

    // Rows are sized as they come into view: by a taller view, a scroll, a sort.
    void linhasDimensionadas()
    {
        QTableWidget t;
        t.resize(300, 200);
        QSqlQuery consulta("SELECT CONCAT_WS(CHAR(10), seq, 'b', 'c') FROM seq_1_to_300");
        preencheTabelaComConsulta({"Texto"}, &consulta, &t);
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        const auto baixas = [&t] { // rows in view shorter than their three lines
            const int altura = t.viewport()->height();
            QStringList linhas;
            for (int l = t.rowAt(0); t.item(l, 0) && t.rowViewportPosition(l) < altura; ++l)
                if (t.rowHeight(l) < 3 * t.fontMetrics().lineSpacing())
                    linhas << t.item(l, 0)->text().section('\n', 0, 0);
            return linhas.join(' ');
        };
        t.resize(300, 900);
        QTRY_COMPARE(baixas(), QString());
        t.verticalScrollBar()->setValue(t.verticalScrollBar()->maximum());
        QTRY_COMPARE(baixas(), QString());
        t.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel); // a sort keeps its range
        t.sortItems(0, Qt::DescendingOrder);
        QTRY_COMPARE(baixas(), QString());
    }
};

QTEST_MAIN(TstCadastros)
#include "tst_cadastros.moc"
