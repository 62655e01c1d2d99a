#include "categories/categoria.h"
#include "classification/analisedados.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

namespace {

QTableView *categorias(QWidget *d) { return d->findChild<QTableView *>("tableView_categoria"); }
QTableWidget *gastos(QWidget *d) { return d->findChild<QTableWidget *>("tableWidget_dados"); }

// The names the dialog lists, the hidden key column aside, in the list's order.
QStringList nomes(QWidget *d)
{
    QStringList lista;
    for (int linha = 0; linha < categorias(d)->model()->rowCount(); ++linha)
        lista << categorias(d)->model()->index(linha, 1).data().toString();
    return categorias(d)->isColumnHidden(0) ? lista : QStringList {"chave à vista"};
}

QList<int> idsListados(AnaliseDados &d)
{
    QList<int> ids;
    for (int linha = 0; linha < gastos(&d)->rowCount(); ++linha)
        ids << gastos(&d)->item(linha, 0)->text().toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

void filtrar(AnaliseDados &d, int mes, int ano, const QString &filtro)
{
    d.findChild<QComboBox *>()->setCurrentIndex(mes - 1);
    d.findChild<QSpinBox *>()->setValue(ano);
    d.findChild<QLineEdit *>()->setText(filtro);
    clicar(&d, "pushButton_filtro");
}

} // namespace

// The category dialog and the classification dialog, on fixed expenses in a scratch database.
// The keys do not follow the names' order; a trigger refuses every update of expense 3.
class TstCategorias : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("categorias")};

    QStringList gravadas() const
    {
        return banco.valor("SELECT GROUP_CONCAT(categoria ORDER BY categoria) FROM categoria")
            .toString().split(',', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
        QVERIFY(banco.executa("CREATE TRIGGER bloqueia BEFORE UPDATE ON gastos FOR EACH ROW IF NEW.idGasto "
                              "= 3 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'bloqueado'; END IF"));
    }

    void init()
    {
        QVERIFY(banco.esvaziar() && QSqlDatabase::database().isOpen());
        QVERIFY(banco.executa("INSERT INTO categoria VALUES (1, 'Mercado'), (2, 'Transporte'), (3, 'Lazer')"));
        QVERIFY(banco.executa("INSERT INTO gastos (idGasto, data, fornecedor, valor, descricao, idCategoria) "
            "VALUES (1, '2025-03-01', 'Padaria Sol', 1, 'pão', NULL), (2, '2025-03-15', 'Padaria Sol', 2, "
            "'bolo', 1), (3, '2025-03-31', 'Posto Lua', 3, 'gasolina padaria', NULL), (4, '2025-03-20', "
            "'Posto Lua', 4, 'lanche padaria', 3), (5, '2025-03-10', NULL, 5, 'tarifa', NULL), (6, "
            "'2025-03-11', NULL, 6, 'juros', 1), (7, '2025-02-28', 'Padaria Sol', 7, 'fevereiro', NULL), "
            "(8, '2025-04-01', 'Padaria Sol', 8, 'abril', NULL), (9, '2024-03-15', 'Padaria Sol', 9, "
            "'ano anterior', NULL)"));
    }

    void inserir_data()
    {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QStringList>("caixas");
        QTest::addColumn<QStringList>("gravadas");
        const QStringList iniciais {"Lazer", "Mercado", "Transporte"}, erro {"Erro ao inserir item"};
        QTest::newRow("espaços em volta") << "  Farmácia \t" << QStringList()
                                          << QStringList {"Farmácia", "Lazer", "Mercado", "Transporte"};
        QTest::newRow("repetida em outra caixa") << " mercado " << erro << iniciais;
        QTest::newRow("só espaços") << "   " << erro << iniciais;
        QTest::newRow("vazio não faz nada") << "" << QStringList() << iniciais;
    }

    // The field is cleared either way; the list shows what is stored.
    void inserir()
    {
        QFETCH(QString, digitado);
        QFETCH(QStringList, caixas);
        QFETCH(QStringList, gravadas);
        Categoria d;
        d.setupData();
        RespostaModal resposta;
        d.findChild<QLineEdit *>()->setText(digitado);
        clicar(&d, "pushButton_inserir");
        QCOMPARE(resposta.vistas(), caixas);
        QVERIFY(d.findChild<QLineEdit *>()->text().isEmpty());
        QCOMPARE(this->gravadas(), gravadas);
        QStringList listadas = nomes(&d);
        listadas.sort();
        QCOMPARE(listadas, gravadas);
    }

    // A double-click on "Lazer", first in the list with the last key, asks first: "No" keeps
    // it, "Yes" deletes that one; a refused delete says so.
    void apagar()
    {
        Categoria d;
        d.setupData();
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        RespostaModal resposta;
        const auto duploClique = [&] {
            const QRect celula = categorias(&d)->visualRect(categorias(&d)->model()->index(0, 1));
            QTest::mouseDClick(d.windowHandle(), Qt::LeftButton, {},
                               categorias(&d)->viewport()->mapTo(&d, celula.center()));
        };
        resposta.responder(QMessageBox::No);
        duploClique();
        QCOMPARE(gravadas(), QStringList({"Lazer", "Mercado", "Transporte"}));
        resposta.responder(QMessageBox::Yes);
        duploClique();
        QCOMPARE(gravadas(), QStringList({"Mercado", "Transporte"}));
        QVERIFY(banco.executa("RENAME TABLE categoria TO categoria_fora"));
        resposta.responder(QMessageBox::Yes);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Erro ao apagar item: \".*doesn't exist"));
        duploClique();
        QVERIFY(banco.executa("RENAME TABLE categoria_fora TO categoria"));
        const QString pergunta = QStringLiteral("Deseja realmente apagar este item?");
        QCOMPARE(resposta.vistas(), QStringList({pergunta, pergunta, pergunta, "Erro ao apagar item"}));
    }

    // On a closed connection the list fails without an error text; once connected, the same
    // dialog inserts and lists, its key column hidden.
    void listaQueFalhaAoAbrir()
    {
        QSqlDatabase::database().close();
        RespostaModal resposta;
        QTest::ignoreMessage(QtDebugMsg, "Erro ao executar consulta: \"\"");
        Categoria d;
        d.setupData();
        QCOMPARE(resposta.vistas(), QStringList {"Erro na leitura do banco de dados"});
        QVERIFY(banco.abrirPadrao());
        d.findChild<QLineEdit *>()->setText(QStringLiteral("Nova"));
        clicar(&d, "pushButton_inserir");
        QCOMPARE(nomes(&d).size(), 4);
    }

    void listagem_data()
    {
        QTest::addColumn<QDate>("mes");
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<QList<int>>("listados"); // none: "Registros não encontrados"
        const QDate marco(2025, 3, 1);
        QTest::newRow("sem filtro") << marco << QString() << QList<int> {1, 2, 3, 4, 5};
        QTest::newRow("fornecedor sempre, descrição só sem categoria")
            << marco << "padaria" << QList<int> {1, 2, 3};
        QTest::newRow("descrição de classificado") << marco << "lanche" << QList<int>();
        QTest::newRow("fevereiro") << QDate(2025, 2, 1) << "" << QList<int> {7};
        QTest::newRow("ano anterior") << QDate(2024, 3, 1) << "" << QList<int> {9};
        QTest::newRow("erro de leitura") << marco << "" << QList<int>();
    }

    // A listing that finds nothing or fails says so and leaves the previous one.
    void listagem()
    {
        QFETCH(QDate, mes);
        QFETCH(QString, filtro);
        QFETCH(QList<int>, listados);
        const bool falha = QTest::currentDataTag() == QByteArray("erro de leitura");
        AnaliseDados d;
        filtrar(d, 4, 2025, QString());
        RespostaModal resposta;
        QVERIFY(!falha || banco.executa("RENAME TABLE gastos TO gastos_fora"));
        filtrar(d, mes.month(), mes.year(), filtro);
        QVERIFY(!falha || banco.executa("RENAME TABLE gastos_fora TO gastos"));
        QCOMPARE(idsListados(d), listados.isEmpty() ? QList<int> {8} : listados);
        QCOMPARE(resposta.vistas(), listados.isEmpty() ? QStringList {falha
            ? "Erro na leitura do Banco de Dados" : "Registros não encontrados"} : QStringList());
    }

    void classificar_data()
    {
        QTest::addColumn<QList<int>>("linhasDeCategoria"); // in the order they are selected
        QTest::addColumn<QList<int>>("selecionados");      // -id selects the whole row
        QTest::addColumn<QString>("gravado");              // "id:category" of March's expenses
        const QString antes = QStringLiteral("1:,2:1,3:,4:3,5:");
        QTest::newRow("nenhuma categoria") << QList<int>() << QList<int> {1} << antes;
        QTest::newRow("nenhum gasto") << QList<int> {0} << QList<int>() << antes;
        QTest::newRow("a primeira de várias categorias") << QList<int> {2, 0} << QList<int> {5, 2}
                                                         << "1:,2:2,3:,4:3,5:2";
        QTest::newRow("linha inteira") << QList<int> {1} << QList<int> {-4} << "1:,2:1,3:,4:1,5:";
        QTest::newRow("uma falha não detém as outras") << QList<int> {0} << QList<int> {3, 1}
                                                       << "1:3,2:1,3:,4:3,5:";
    }

    // Each update that goes through lists again with the widgets' values, changed here
    // without "Filtrar".
    void classificar()
    {
        QFETCH(QList<int>, linhasDeCategoria);
        QFETCH(QList<int>, selecionados);
        QFETCH(QString, gravado);
        AnaliseDados d;
        {
            RespostaModal hoje; // today's month has no expenses
            d.setupData();
        }
        filtrar(d, 3, 2025, QString());
        RespostaModal resposta;
        for (int linha : linhasDeCategoria)
            categorias(&d)->selectionModel()->select(categorias(&d)->model()->index(linha, 1),
                                                     QItemSelectionModel::Select);
        for (int id : selecionados) {
            const int linha = gastos(&d)->findItems(QString::number(qAbs(id)), Qt::MatchExactly).first()->row();
            gastos(&d)->selectionModel()->select(gastos(&d)->model()->index(linha, 1), id < 0
                ? QItemSelectionModel::Select | QItemSelectionModel::Rows : QItemSelectionModel::Select);
        }
        d.findChild<QComboBox *>()->setCurrentIndex(1);
        clicar(&d, "pushButton_classificar");
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(idGasto, ':', IFNULL(idCategoria, '') ORDER BY idGasto) "
                             "FROM gastos WHERE MONTH(data) = 3 AND idGasto < 6").toString(), gravado);
        const bool classificou = gravado != QLatin1String("1:,2:1,3:,4:3,5:");
        QCOMPARE(idsListados(d), (classificou ? QList<int> {7} : QList<int> {1, 2, 3, 4, 5}));
        QCOMPARE(resposta.vistas().join(""),
                 QString(linhasDeCategoria.isEmpty() ? "Nenhuma categoria selecionada." : ""));
    }
};

QTEST_MAIN(TstCategorias)
#include "tst_categorias.moc"
