#include "app/finara.h"
#include "classification/analisedados.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>
#include <utility>

// (idGasto, column) of a selected expense cell; column -1 selects the whole row.
using Celulas = QList<QPair<int, int>>;

namespace {

// Expenses as the list shows them: date, supplier, description, category, value.
const QMap<int, QStringList> linhas {
    {1, {"01/03/25", "Padaria Sol", "pão", "Não Classificado", "10.50"}},
    {2, {"15/03/25", "Padaria Sol", "bolo", "Mercado", "22.00"}},
    {3, {"31/03/25", "Posto Lua", "gasolina padaria", "Não Classificado", "200.00"}},
    {4, {"20/03/25", "Posto Lua", "lanche padaria", "Lazer", "15.00"}},
    {5, {"10/03/25", "", "tarifa", "Não Classificado", "5.00"}},
    {10, {"05/03/25", "a_b", "100%", "Não Classificado", "1000.00"}},
    {8, {"01/04/25", "Padaria Sol", "abril", "Não Classificado", "8.00"}},
};
const QList<int> todoMarco {1, 2, 3, 4, 5, 10}; // 6 (NULL supplier, classified) never shows

template<typename T> T *filho(AnaliseDados &d, const char *nome) { return d.findChild<T *>(nome); }
QTableWidget *tabela(AnaliseDados &d) { return filho<QTableWidget>(d, "tableWidget_dados"); }

void filtrar(AnaliseDados &d, int mes, int ano, const QString &filtro)
{
    filho<QComboBox>(d, "comboBox_mes")->setCurrentIndex(mes - 1);
    filho<QSpinBox>(d, "spinBox_ano")->setValue(ano);
    filho<QLineEdit>(d, "lineEdit_filtro")->setText(filtro);
    filho<QPushButton>(d, "pushButton_filtro")->click();
}

QList<int> ids(AnaliseDados &d)
{
    QList<int> lista;
    for (int linha = 0; linha < tabela(d)->rowCount(); ++linha)
        lista << tabela(d)->item(linha, 0)->text().toInt();
    std::sort(lista.begin(), lista.end());
    return lista;
}

void verificaCaixa(const RespostaModal &r, const QString &texto, QWidget *pai, int total = 1)
{
    QCOMPARE(r.vistas().size(), total);
    const JanelaVista &caixa = r.vistas().first();
    QCOMPARE(QStringList({caixa.tipo, caixa.titulo, caixa.texto}), QStringList({"information", "Informação", texto}));
    QCOMPARE(caixa.pai, pai);
}

} // namespace

// The classification dialog on fixed expenses in a scratch database. A trigger on gastos
// logs every update that went through.
class TstAnaliseDados : public QObject
{
    Q_OBJECT

    bool admin(const QString &sql) { return QSqlQuery(banco.admin()).exec(sql); }
    BancoTeste banco {QStringLiteral("analisedados")};

private slots:
    void initTestCase()
    {
        QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
        QVERIFY(admin("CREATE TABLE registro (idGasto INT)"));
        QVERIFY(admin("CREATE TRIGGER registra AFTER UPDATE ON gastos FOR EACH ROW "
                      "INSERT INTO registro VALUES (NEW.idGasto)"));
    }

    void init()
    {
        for (const char *tabela : {"gastos", "categoria", "registro"})
            QVERIFY(admin(QStringLiteral("DELETE FROM %1").arg(QLatin1String(tabela))));
        QVERIFY(admin("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Lazer'), (3, 'Transporte')"));
        QVERIFY(admin("INSERT INTO gastos (idGasto, data, fornecedor, valor, descricao, idCategoria) VALUES "
                      "(1, '2025-03-01', 'Padaria Sol', 10.50, 'pão', NULL), (2, '2025-03-15', 'Padaria Sol', 22.00, 'bolo', 1),"
                      "(3, '2025-03-31', 'Posto Lua', 200.00, 'gasolina padaria', NULL), (5, '2025-03-10', NULL, 5.00, 'tarifa', NULL),"
                      "(4, '2025-03-20', 'Posto Lua', 15.00, 'lanche padaria', 2), (6, '2025-03-11', NULL, 3.00, 'juros', 1),"
                      "(7, '2025-02-28', 'Padaria Sol', 7.00, 'fevereiro', NULL), (8, '2025-04-01', 'Padaria Sol', 8.00, 'abril', NULL),"
                      "(9, '2024-03-15', 'Padaria Sol', 9.00, 'ano anterior', NULL), (10, '2025-03-05', 'a_b', 1000.00, '100%', NULL)"));
    }

    void listagem_data()
    {
        QTest::addColumn<QDate>("mes");
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<QList<int>>("esperados"); // none: "Registros não encontrados"
        QTest::addColumn<bool>("semTabela");       // the read fails
        const QDate marco(2025, 3, 1);

        QTest::newRow("vazio") << marco << QString() << todoMarco << false;
        QTest::newRow("fornecedor sempre, descrição só sem categoria") << marco << "padaria" << QList<int>{1, 2, 3} << false;
        QTest::newRow("só descrição de classificado") << marco << "lanche" << QList<int>{} << false;
        QTest::newRow("percentual é curinga") << marco << "Pos%Lua" << QList<int>{3, 4} << false;
        QTest::newRow("barra invertida escapa o %") << marco << "\\" << QList<int>{10} << false;
        QTest::newRow("fevereiro") << QDate(2025, 2, 1) << "" << QList<int>{7} << false;
        QTest::newRow("ano anterior") << QDate(2024, 3, 1) << "" << QList<int>{9} << false;
        QTest::newRow("erro de leitura") << marco << "" << QList<int>{} << true;
    }

    void listagem()
    {
        QFETCH(QDate, mes);
        QFETCH(QString, filtro);
        QFETCH(QList<int>, esperados);
        QFETCH(bool, semTabela);
        AnaliseDados d;
        CapturaDebug debug;
        RespostaModal resposta;
        // The two-argument slot lists with the empty filter: April's one expense.
        QVERIFY(QMetaObject::invokeMethod(&d, "montaWidgetDados", Q_ARG(int, 4), Q_ARG(int, 2025)));
        tabela(d)->sortByColumn(5, Qt::DescendingOrder); // kept by the reload, each row's cells together
        QVERIFY(!semTabela || admin("RENAME TABLE gastos TO gastos_fora"));
        filtrar(d, mes.month(), mes.year(), filtro);
        QVERIFY(!semTabela || admin("RENAME TABLE gastos_fora TO gastos"));
        if (esperados.isEmpty())
            verificaCaixa(resposta, semTabela ? QStringLiteral("Erro na leitura do Banco de Dados")
                                              : QStringLiteral("Registros não encontrados"), &d);
        QCOMPARE(ids(d), esperados.isEmpty() ? QList<int>{8} : esperados); // or the previous listing
        QVERIFY(debug.linhas().isEmpty());
        QVERIFY(tabela(d)->isColumnHidden(0));
        double anterior = 1e9;
        for (int linha = 0; linha < tabela(d)->rowCount(); ++linha) {
            QStringList celulas;
            for (int c = 1; c < 6; ++c)
                celulas << tabela(d)->item(linha, c)->text();
            QCOMPARE(celulas, linhas.value(tabela(d)->item(linha, 0)->text().toInt(), celulas));
            QVERIFY(celulas.last().toDouble() <= std::exchange(anterior, celulas.last().toDouble()));
        }
    }

    void primeiraListagem_data()
    {
        QTest::addColumn<bool>("gastoHoje");
        QTest::newRow("gasto hoje") << true;
        QTest::newRow("mês sem gastos") << false;
    }

    // From the main window: today's month listed, or the box before the categories and the parentless dialog.
    void primeiraListagem()
    {
        QFETCH(bool, gastoHoje);
        const QDate hoje = QDate::currentDate();
        if (gastoHoje)
            QVERIFY(banco.executa("INSERT INTO gastos (idGasto, data, fornecedor, valor) VALUES "
                                  "(20, ?, 'hoje', 1), (21, ?, 'ano passado', 1), (22, ?, 'mês passado', 1)",
                                  {hoje, hoje.addYears(-1), hoje.addMonths(-1)}));
        Finara janela;
        RespostaModal resposta;
        int categoriasNaCaixa = 0;
        if (!gastoHoje)
            resposta.aoAbrir([&](QWidget *caixa) {
                if (auto *modelo = caixa->parentWidget()->findChild<QTableView *>("tableView_categoria")->model())
                    categoriasNaCaixa = modelo->rowCount();
                caixa->close();
            });
        QVariantList visto;
        resposta.aoAbrir([&](QWidget *dialogo) {
            auto &d = *qobject_cast<AnaliseDados *>(dialogo);
            auto *categorias = filho<QTableView>(d, "tableView_categoria");
            visto = {ids(d) == (gastoHoje ? QList<int>{20} : QList<int>{}), tabela(d)->columnCount(), categoriasNaCaixa,
                     filho<QComboBox>(d, "comboBox_mes")->currentData(), filho<QSpinBox>(d, "spinBox_ano")->value(),
                     categorias->model()->index(2, 1).data(), categorias->isColumnHidden(0),
                     categorias->model()->parent() == dialogo, gastoHoje || resposta.vistas().first().pai == dialogo,
                     dialogo->parentWidget() == &janela};
            d.close();
        });
        janela.findChild<QPushButton *>("pushButton")->click();

        if (!gastoHoje)
            verificaCaixa(resposta, QStringLiteral("Registros não encontrados"), resposta.vistas().value(0).pai, 2);
        QCOMPARE(resposta.vistas().value(gastoHoje ? 0 : 1).classe, QStringLiteral("AnaliseDados"));
        QCOMPARE(visto, QVariantList({true, gastoHoje ? 6 : 0, 0,
                                      hoje.month(), qBound(2020, hoje.year(), 2050), "Transporte", true, true, true, true}));
    }

    void classifica_data()
    {
        QTest::addColumn<QList<int>>("categorias"); // rows of the category list, in selection order
        QTest::addColumn<Celulas>("celulas");
        QTest::addColumn<QStringList>("debug");
        QTest::addColumn<QString>("atualizados"); // as logged by the trigger
        QTest::addColumn<QString>("categoria");   // of the expenses updated

        QTest::newRow("nenhuma categoria") << QList<int>{} << Celulas{{1, 2}} << QStringList{} << "" << "";
        QTest::newRow("nenhum gasto") << QList<int>{0} << Celulas{} << QStringList{"()"} << "" << "";
        QTest::newRow("linha inteira, a chave por coluna no debug")
            << QList<int>{0} << Celulas{{1, -1}} << QStringList{"(1, 1, 1, 1, 1, 1)", "1", "1", "1", "1", "1", "1"}
            << "1" << "2";
        QTest::newRow("a primeira de várias categorias")
            << QList<int>{2, 0} << Celulas{{5, 1}} << QStringList{"(5)", "5"} << "5" << "3";
    }

    // A classification that goes through lists again with the widgets' values, changed here without "Filtrar".
    void classifica()
    {
        QFETCH(QList<int>, categorias);
        QFETCH(Celulas, celulas);
        QFETCH(QStringList, debug);
        QFETCH(QString, atualizados);
        QFETCH(QString, categoria);
        AnaliseDados d;
        {
            RespostaModal resposta; // today's month has no expenses
            d.setupData();
            filtrar(d, 3, 2025, QString());
        }
        auto *vista = filho<QTableView>(d, "tableView_categoria");
        for (int linha : categorias)
            vista->selectionModel()->select(vista->model()->index(linha, 1), QItemSelectionModel::Select);
        for (const auto &celula : celulas) {
            const int linha = tabela(d)->findItems(QString::number(celula.first), Qt::MatchExactly).first()->row();
            tabela(d)->selectionModel()->select(tabela(d)->model()->index(linha, qMax(celula.second, 0)),
                                                celula.second < 0 ? QItemSelectionModel::Select | QItemSelectionModel::Rows
                                                                  : QItemSelectionModel::Select);
        }
        filho<QComboBox>(d, "comboBox_mes")->setCurrentIndex(1);
        filho<QLineEdit>(d, "lineEdit_filtro")->setText(QStringLiteral("Sol"));

        QSignalSpy listagens(tabela(d)->model(), &QAbstractItemModel::rowsRemoved);
        CapturaDebug captura;
        RespostaModal resposta;
        filho<QPushButton>(d, "pushButton_classificar")->click();

        QCOMPARE(captura.linhas(), debug);
        QCOMPARE(listagens.count(), atualizados.isEmpty() ? 0 : atualizados.count(',') + 1);
        QCOMPARE(ids(d), atualizados.isEmpty() ? todoMarco : QList<int>{7});
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(idGasto) FROM registro").toString(), atualizados);
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(DISTINCT idCategoria) FROM registro JOIN gastos USING (idGasto)")
                     .toString(), categoria);
        if (categorias.isEmpty())
            verificaCaixa(resposta, QStringLiteral("Nenhuma categoria selecionada."), &d);
        else
            QVERIFY(resposta.vistas().isEmpty());
    }
};

QTEST_MAIN(TstAnaliseDados)
#include "tst_analisedados.moc"
