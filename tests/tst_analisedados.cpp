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

// (idGasto, column) of a selected expense cell; column -1 selects the whole row.
using Celulas = QList<QPair<int, int>>;

namespace {

// March 2025 as the list shows it: date, supplier, description, category, value.
const QMap<int, QStringList> marco2025 {
    {1, {"01/03/25", "Padaria Sol", "pão", "Não Classificado", "10.50"}},
    {2, {"15/03/25", "Padaria Sol", "bolo", "Mercado", "22.00"}},
    {3, {"31/03/25", "Posto Lua", "gasolina padaria", "Não Classificado", "200.00"}},
    {4, {"20/03/25", "Posto Lua", "lanche padaria", "Lazer", "15.00"}},
    {5, {"10/03/25", "", "tarifa", "Não Classificado", "5.00"}},
    {10, {"05/03/25", "a_b", "100%", "Não Classificado", "1000.00"}},
    {11, {"07/03/25", "Loja D'Ávila", "sapato", "Não Classificado", "35.90"}},
};
const QList<int> todoMarco = marco2025.keys(); // 6 (NULL supplier, classified) never shows

} // namespace

// The classification dialog on a fixed set of expenses in a scratch database.
// Triggers on gastos log every update that went through and refuse updates of
// the expense named in `bloqueio`.
class TstAnaliseDados : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void listagem_data();
    void listagem();
    void erroDeLeitura();
    void primeiraListagem_data();
    void primeiraListagem();
    void recargasOrdenadas_data();
    void recargasOrdenadas();
    void classifica_data();
    void classifica();
    void listagemAposClassificarUsaOsWidgets();
    void abertoPelaJanelaPrincipal();

private:
    bool admin(const QString &sql) { return QSqlQuery(banco->admin()).exec(sql); }
    static void filtrar(AnaliseDados &d, int mes, int ano, const QString &filtro);
    static QTableWidget *tabela(AnaliseDados &d) { return d.findChild<QTableWidget *>("tableWidget_dados"); }
    static QList<int> idsNaOrdem(AnaliseDados &d);
    static QList<int> ids(AnaliseDados &d);
    static void selecionaEmMarco(AnaliseDados &d, const QList<int> &categorias, const Celulas &celulas);
    static void verificaCaixa(const RespostaModal &r, const QString &texto, QWidget *pai);
    BancoTeste *banco = nullptr;
};

void TstAnaliseDados::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("analisedados"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    QVERIFY(admin("CREATE TABLE registro (idGasto INT)"));
    QVERIFY(admin("CREATE TABLE bloqueio (idGasto INT)"));
    QVERIFY(admin("CREATE TRIGGER registra AFTER UPDATE ON gastos FOR EACH ROW "
                  "INSERT INTO registro VALUES (NEW.idGasto)"));
    QVERIFY(admin("CREATE TRIGGER bloqueia BEFORE UPDATE ON gastos FOR EACH ROW "
                  "IF NEW.idGasto IN (SELECT idGasto FROM bloqueio) THEN "
                  "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'gasto bloqueado'; END IF"));
}

void TstAnaliseDados::cleanupTestCase()
{
    delete banco;
}

void TstAnaliseDados::init()
{
    for (const char *tabela : {"gastos", "categoria", "registro", "bloqueio"})
        QVERIFY(admin(QStringLiteral("DELETE FROM %1").arg(QLatin1String(tabela))));
    QVERIFY(admin("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Lazer'), (3, 'Transporte')"));
    QVERIFY(admin("INSERT INTO gastos (idGasto, data, fornecedor, valor, descricao, idCategoria) VALUES "
                  "(1, '2025-03-01', 'Padaria Sol', 10.50, 'pão', NULL),"
                  "(2, '2025-03-15', 'Padaria Sol', 22.00, 'bolo', 1),"
                  "(3, '2025-03-31', 'Posto Lua', 200.00, 'gasolina padaria', NULL),"
                  "(4, '2025-03-20', 'Posto Lua', 15.00, 'lanche padaria', 2),"
                  "(5, '2025-03-10', NULL, 5.00, 'tarifa', NULL),"
                  "(6, '2025-03-11', NULL, 3.00, 'juros', 1),"
                  "(7, '2025-02-28', 'Padaria Sol', 7.00, 'fevereiro', NULL),"
                  "(8, '2025-04-01', 'Padaria Sol', 8.00, 'abril', NULL),"
                  "(9, '2024-03-15', 'Padaria Sol', 9.00, 'ano anterior', NULL),"
                  "(10, '2025-03-05', 'a_b', 1000.00, '100%', NULL),"
                  "(11, '2025-03-07', 'Loja D''Ávila', 35.90, 'sapato', NULL)"));
}

void TstAnaliseDados::filtrar(AnaliseDados &d, int mes, int ano, const QString &filtro)
{
    d.findChild<QComboBox *>("comboBox_mes")->setCurrentIndex(mes - 1);
    d.findChild<QSpinBox *>("spinBox_ano")->setValue(ano);
    d.findChild<QLineEdit *>("lineEdit_filtro")->setText(filtro);
    d.findChild<QPushButton *>("pushButton_filtro")->click();
}

// The keys of the listed rows, top to bottom.
QList<int> TstAnaliseDados::idsNaOrdem(AnaliseDados &d)
{
    QList<int> lista;
    for (int linha = 0; linha < tabela(d)->rowCount(); ++linha)
        lista << tabela(d)->item(linha, 0)->text().toInt();
    return lista;
}

QList<int> TstAnaliseDados::ids(AnaliseDados &d)
{
    QList<int> lista = idsNaOrdem(d);
    std::sort(lista.begin(), lista.end());
    return lista;
}

void TstAnaliseDados::selecionaEmMarco(AnaliseDados &d, const QList<int> &categorias, const Celulas &celulas)
{
    {
        RespostaModal resposta; // today's month has no expenses
        d.setupData();
        filtrar(d, 3, 2025, QString());
    }
    auto *vista = d.findChild<QTableView *>("tableView_categoria");
    for (int linha : categorias)
        vista->selectionModel()->select(vista->model()->index(linha, 1), QItemSelectionModel::Select);
    for (const auto &celula : celulas) {
        const int linha = idsNaOrdem(d).indexOf(celula.first);
        if (celula.second < 0)
            tabela(d)->selectRow(linha);
        else
            tabela(d)->selectionModel()->select(tabela(d)->model()->index(linha, celula.second),
                                                QItemSelectionModel::Select);
    }
}

void TstAnaliseDados::verificaCaixa(const RespostaModal &r, const QString &texto, QWidget *pai)
{
    QCOMPARE(r.vistas().size(), 1);
    const JanelaVista &caixa = r.vistas().first();
    QCOMPARE(caixa.tipo, QStringLiteral("information"));
    QCOMPARE(caixa.titulo, QStringLiteral("Informação"));
    QCOMPARE(caixa.texto, texto);
    QCOMPARE(caixa.botoes, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(caixa.pai, pai);
}

void TstAnaliseDados::listagem_data()
{
    QTest::addColumn<int>("mes");
    QTest::addColumn<int>("ano");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QList<int>>("esperados"); // none: "Registros não encontrados"

    QTest::newRow("vazio") << 3 << 2025 << QString() << todoMarco;
    QTest::newRow("fornecedor sempre, descrição só sem categoria") << 3 << 2025 << "padaria" << QList<int>{1, 2, 3};
    QTest::newRow("só descrição de classificado") << 3 << 2025 << "lanche" << QList<int>{};
    QTest::newRow("descrição com fornecedor nulo") << 3 << 2025 << "tarifa" << QList<int>{5};
    QTest::newRow("sublinhado") << 3 << 2025 << "_" << todoMarco;
    QTest::newRow("percentual") << 3 << 2025 << "Pos%Lua" << QList<int>{3, 4};
    QTest::newRow("aspa simples") << 3 << 2025 << "D'Á" << QList<int>{11};
    QTest::newRow("aspa dupla") << 3 << 2025 << "\"" << QList<int>{};
    QTest::newRow("barra invertida escapa o %") << 3 << 2025 << "\\" << QList<int>{10};
    QTest::newRow("sql") << 3 << 2025 << "' OR 1=1; DROP TABLE gastos; --" << QList<int>{};
    QTest::newRow("mil caracteres") << 3 << 2025 << QString(1000, 'x') << QList<int>{};
    QTest::newRow("fevereiro") << 2 << 2025 << "" << QList<int>{7};
    QTest::newRow("abril") << 4 << 2025 << "" << QList<int>{8};
    QTest::newRow("ano anterior") << 3 << 2024 << "" << QList<int>{9};
}

void TstAnaliseDados::listagem()
{
    QFETCH(int, mes);
    QFETCH(int, ano);
    QFETCH(QString, filtro);
    QFETCH(QList<int>, esperados);
    AnaliseDados d;
    RespostaModal resposta;
    // The two-argument slot lists with the empty filter: April's one expense.
    QVERIFY(QMetaObject::invokeMethod(&d, "montaWidgetDados", Q_ARG(int, 4), Q_ARG(int, 2025)));
    QCOMPARE(ids(d), QList<int>{8});
    filtrar(d, mes, ano, filtro);
    if (esperados.isEmpty())
        verificaCaixa(resposta, QStringLiteral("Registros não encontrados"), &d);
    QCOMPARE(ids(d), esperados.isEmpty() ? QList<int>{8} : esperados); // or the previous listing
    QCOMPARE(banco->valor("SELECT COUNT(*) FROM gastos").toInt(), 11);
}

void TstAnaliseDados::erroDeLeitura()
{
    AnaliseDados d;
    CapturaDebug debug;
    RespostaModal resposta;
    filtrar(d, 3, 2025, QString());
    QVERIFY(admin("RENAME TABLE gastos TO gastos_fora"));
    filtrar(d, 3, 2025, QString());
    QVERIFY(admin("RENAME TABLE gastos_fora TO gastos"));
    verificaCaixa(resposta, QStringLiteral("Erro na leitura do Banco de Dados"), &d);
    QCOMPARE(ids(d), todoMarco);
    QVERIFY(debug.linhas().isEmpty());
}

void TstAnaliseDados::primeiraListagem_data()
{
    QTest::addColumn<bool>("gastoHoje");
    QTest::newRow("gasto hoje") << true;
    QTest::newRow("mês sem gastos") << false;
}

void TstAnaliseDados::primeiraListagem()
{
    QFETCH(bool, gastoHoje);
    const QDate hoje = QDate::currentDate();
    if (gastoHoje)
        QVERIFY(banco->executa("INSERT INTO gastos (idGasto, data, fornecedor, valor) VALUES "
                               "(20, ?, 'hoje', 1), (21, ?, 'ano passado', 1), (22, ?, 'mês passado', 1)",
                               {hoje, hoje.addYears(-1), hoje.addMonths(-1)}));
    AnaliseDados d;
    auto *categorias = d.findChild<QTableView *>("tableView_categoria");
    RespostaModal resposta;
    int categoriasNaCaixa = -1;
    bool visivelNaCaixa = true;
    resposta.aoAbrir([&](QWidget *caixa) {
        categoriasNaCaixa = categorias->model() ? categorias->model()->rowCount() : 0;
        visivelNaCaixa = d.isVisible();
        qobject_cast<QMessageBox *>(caixa)->button(QMessageBox::Ok)->click();
    });
    d.setupData();

    if (gastoHoje) {
        QVERIFY(resposta.vistas().isEmpty());
        QCOMPARE(ids(d), QList<int>{20});
    } else {
        // Shown before the category list is filled and before the dialog.
        verificaCaixa(resposta, QStringLiteral("Registros não encontrados"), &d);
        QCOMPARE(categoriasNaCaixa, 0);
        QVERIFY(!visivelNaCaixa);
        QCOMPARE(tabela(d)->columnCount(), 0);
    }
    QCOMPARE(d.findChild<QComboBox *>("comboBox_mes")->currentData().toInt(), hoje.month());
    QCOMPARE(d.findChild<QSpinBox *>("spinBox_ano")->value(), qBound(2020, hoje.year(), 2050));
    QCOMPARE(categorias->model()->index(2, 1).data().toString(), QStringLiteral("Transporte"));
    QVERIFY(categorias->isColumnHidden(0));
    QCOMPARE(categorias->model()->parent(), &d);
}

void TstAnaliseDados::recargasOrdenadas_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<Qt::SortOrder>("ordem");
    QTest::newRow("Data crescente") << 1 << Qt::AscendingOrder;
    QTest::newRow("Data decrescente") << 1 << Qt::DescendingOrder;
    QTest::newRow("Valor crescente") << 5 << Qt::AscendingOrder;
    QTest::newRow("Valor decrescente") << 5 << Qt::DescendingOrder;
}

void TstAnaliseDados::recargasOrdenadas()
{
    QFETCH(int, coluna);
    QFETCH(Qt::SortOrder, ordem);
    AnaliseDados d;
    RespostaModal resposta;
    filtrar(d, 3, 2025, QString());
    tabela(d)->sortByColumn(coluna, ordem);
    for (const char *filtro : {"padaria", "", "Pos%Lua", ""}) {
        filtrar(d, 3, 2025, QString::fromUtf8(filtro));
        QList<double> chaves;
        for (int linha = 0; linha < tabela(d)->rowCount(); ++linha) {
            QStringList celulas;
            for (int c = 1; c < 6; ++c)
                celulas << tabela(d)->item(linha, c)->text();
            QCOMPARE(celulas, marco2025.value(tabela(d)->item(linha, 0)->text().toInt()));
            const QString texto = celulas.at(coluna - 1);
            chaves << (coluna == 1 ? QDate::fromString(texto, "dd/MM/yy").toJulianDay() : texto.toDouble());
        }
        if (ordem == Qt::DescendingOrder)
            std::reverse(chaves.begin(), chaves.end());
        QVERIFY(std::is_sorted(chaves.begin(), chaves.end()));
    }
    QVERIFY(tabela(d)->isColumnHidden(0));
}

void TstAnaliseDados::classifica_data()
{
    QTest::addColumn<QList<int>>("categorias"); // rows of the category list, in selection order
    QTest::addColumn<Celulas>("celulas");
    QTest::addColumn<int>("bloqueado");
    QTest::addColumn<QStringList>("debug");
    QTest::addColumn<QList<int>>("atualizados");
    QTest::addColumn<int>("categoria");

    QTest::newRow("nenhuma categoria") << QList<int>{} << Celulas{{1, 2}} << 0
                                       << QStringList{} << QList<int>{} << 0;
    QTest::newRow("nenhum gasto") << QList<int>{0} << Celulas{} << 0
                                  << QStringList{"()"} << QList<int>{} << 2;
    QTest::newRow("linha inteira") << QList<int>{0} << Celulas{{1, -1}} << 0
                                   << QStringList{"(1, 1, 1, 1, 1, 1)", "1", "1", "1", "1", "1", "1"}
                                   << QList<int>{1, 1, 1, 1, 1, 1} << 2;
    QTest::newRow("duas células da linha") << QList<int>{1} << Celulas{{3, 2}, {3, 5}} << 0
                                           << QStringList{"(3, 3)", "3", "3"} << QList<int>{3, 3} << 1;
    QTest::newRow("várias categorias") << QList<int>{2, 0} << Celulas{{5, 1}} << 0
                                       << QStringList{"(5)", "5"} << QList<int>{5} << 3;
    QTest::newRow("uma atualização falha") << QList<int>{0} << Celulas{{3, 1}, {1, 3}} << 3
                                           << QStringList{"(3, 1)", "\"gasto bloqueado QMYSQL3: Unable to execute statement\"", "3", "1"}
                                           << QList<int>{1} << 2;
}

void TstAnaliseDados::classifica()
{
    QFETCH(QList<int>, categorias);
    QFETCH(Celulas, celulas);
    QFETCH(int, bloqueado);
    QFETCH(QStringList, debug);
    QFETCH(QList<int>, atualizados);
    QFETCH(int, categoria);
    QVERIFY(banco->executa("INSERT INTO bloqueio VALUES (?)", {bloqueado}));
    AnaliseDados d;
    selecionaEmMarco(d, categorias, celulas);

    QSignalSpy listagens(tabela(d)->model(), &QAbstractItemModel::rowsRemoved);
    CapturaDebug captura;
    RespostaModal resposta;
    d.findChild<QPushButton *>("pushButton_classificar")->click();

    QCOMPARE(captura.linhas(), debug);
    QCOMPARE(listagens.count(), atualizados.size());
    QList<int> registro;
    QSqlQuery q(banco->admin());
    QVERIFY(q.exec("SELECT registro.idGasto, idCategoria FROM registro JOIN gastos USING (idGasto)"));
    while (q.next()) {
        registro << q.value(0).toInt();
        QCOMPARE(q.value(1).toInt(), categoria);
    }
    QCOMPARE(registro, atualizados);
    if (categorias.isEmpty())
        verificaCaixa(resposta, QStringLiteral("Nenhuma categoria selecionada."), nullptr);
    else
        QVERIFY(resposta.vistas().isEmpty());
}

void TstAnaliseDados::listagemAposClassificarUsaOsWidgets()
{
    AnaliseDados d;
    selecionaEmMarco(d, {0}, {{1, 2}});
    d.findChild<QComboBox *>("comboBox_mes")->setCurrentIndex(1);
    d.findChild<QLineEdit *>("lineEdit_filtro")->setText(QStringLiteral("Sol"));
    QCOMPARE(ids(d), todoMarco); // nothing listed until asked
    RespostaModal resposta;
    d.findChild<QPushButton *>("pushButton_classificar")->click();
    QCOMPARE(ids(d), QList<int>{7});
    QCOMPARE(banco->valor("SELECT idCategoria FROM gastos WHERE idGasto = 1").toInt(), 2);
}

void TstAnaliseDados::abertoPelaJanelaPrincipal()
{
    Finara janela;
    RespostaModal resposta;
    resposta.responder(QMessageBox::Ok);
    resposta.aoAbrir([](QWidget *dialogo) { dialogo->close(); });
    janela.findChild<QPushButton *>("pushButton")->click();
    // The first listing's box comes before the modal dialog itself.
    QCOMPARE(resposta.vistas().size(), 2);
    QCOMPARE(resposta.vistas().at(0).texto, QStringLiteral("Registros não encontrados"));
    QCOMPARE(resposta.vistas().at(1).classe, QStringLiteral("AnaliseDados"));
    QCOMPARE(resposta.vistas().at(1).titulo, QStringLiteral("Classificar"));
    QVERIFY(!resposta.vistas().at(1).pai);
}

QTEST_MAIN(TstAnaliseDados)
#include "tst_analisedados.moc"
