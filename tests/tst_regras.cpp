#include "classification/analisedados.h"
#include "import/importarcsv.h"
#include "rules/cadastroderegras.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QTableWidget>
#include <QtTest>

// Rules over a scratch database with categories A (key 1) and B (2); key 3 is a deleted one.
// Rules go in as (idRegra, posicao, padrao, noFornecedor, naDescricao, idCategoria).
class TstRegras : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("regras")};
    QSqlDatabase padrao = QSqlDatabase::database();
    bool admin(const QString &sql) const { return QSqlQuery(banco.admin()).exec(sql); }
    static void clica(QObject *janela, const char *botao)
    {
        QVERIFY(QMetaObject::invokeMethod(janela->findChild<QObject *>(botao), "click"));
    }

private slots:
    void initTestCase() { QVERIFY(admin("INSERT INTO categoria VALUES (1, 'A'), (2, 'B')")); }
    void init()
    {
        QVERIFY(admin("TRUNCATE gastos") && admin("TRUNCATE regra") && admin("DROP TRIGGER IF EXISTS r"));
    }
    void aplicacao_data();
    void aplicacao();
    void exemploPelaJanela_data();
    void exemploPelaJanela();
};

void TstRegras::aplicacao_data()
{
    QTest::addColumn<QString>("regras");
    QTest::addColumn<QString>("esperadas");
    QTest::newRow("a primeira vence") << "(1,1,'padaria',1,1,1),(2,2,'padaria',1,1,2)" << "A,-,A,B,-";
    QTest::newRow("a ordem muda tudo") << "(1,2,'padaria',1,1,1),(2,1,'padaria',1,1,2)" << "B,-,B,B,-";
    QTest::newRow("só fornecedor") << "(1,1,'padaria',1,0,1)" << "A,-,-,B,-";
    QTest::newRow("sem caixa nem acento") << "(1,1,'pao de acucar',1,0,1),(2,2,'PAO FRANCES',0,1,2)" << "B,A,-,B,-";
    QTest::newRow("curingas são texto") << "(1,1,'50%',0,1,1),(2,2,'x_off',0,1,2)" << "-,A,-,B,-";
    QTest::newRow("categoria apagada") << "(1,1,'padaria',1,1,3),(2,2,'uber',1,0,2)" << "-,-,B,B,-";
}

// Over every expense without category, then over an import's new rows, after the count
// the question shows. Expense 4 was classified by hand.
void TstRegras::aplicacao()
{
    QFETCH(QString, regras);
    QFETCH(QString, esperadas);
    QVERIFY(admin("INSERT INTO regra VALUES " + regras) && admin("INSERT INTO gastos (data, valor, fornecedor, "
        "descricao) VALUES (NOW(), 1, 'Padaria Luzia', 'Pão francês'), (NOW(), 1, 'PÃO DE AÇÚCAR', '50% off'), "
        "(NOW(), 1, 'Uber', 'padaria'), (NOW(), 1, 'Padaria Sol', ''), (NOW(), 1, 'Posto', '50x off')"));
    for (const bool importacao : {false, true}) {
        QHash<int, int> contadas;
        int aplicadas = -1;
        QVERIFY(admin("UPDATE gastos SET idCategoria = IF(idGasto = 4, 2, NULL)"));
        QVERIFY(CadastroDeRegras::contar(&contadas));
        QVERIFY(importacao ? CadastroDeRegras::aplicarAsNovas({1, 2, 3, 4, 5}, &aplicadas)
                           : CadastroDeRegras::aplicar(&aplicadas));
        QCOMPARE(banco.valor("SELECT GROUP_CONCAT(IFNULL(categoria, '-') ORDER BY idGasto) FROM gastos "
                             "LEFT JOIN categoria USING (idCategoria)").toString(), esperadas);
        QCOMPARE(aplicadas, std::accumulate(contadas.begin(), contadas.end(), 0));
    }
}

void TstRegras::exemploPelaJanela_data()
{
    QTest::addColumn<QString>("gatilho");
    QTest::addColumn<QString>("caixa");
    QTest::addColumn<QString>("gastos"); // rows | classified | their suppliers | rules
    QTest::newRow("só os dois fornecedores") << "" << "12 .*regras" << "88|13|Padaria Santa Luzia,Uber|2";
    QTest::newRow("regra recusada desfaz tudo") << "CREATE TRIGGER r BEFORE UPDATE ON gastos FOR EACH ROW IF "
        "NEW.idCategoria = 2 THEN SIGNAL SQLSTATE '45000'; END IF" << "^Erro ao importar" << "2|1|Uber|2";
}

// One rule by hand, one kept from the filter "uber" of the classification window, then the
// sample through the import window; the two expenses there before are not the import's.
void TstRegras::exemploPelaJanela()
{
    QFETCH(QString, gatilho);
    QFETCH(QString, caixa);
    QFETCH(QString, gastos);
    QVERIFY(admin("INSERT INTO regra VALUES (1, 1, 'padaria santa', 1, 0, 1)") && admin("INSERT INTO gastos "
        "(data, valor, fornecedor) VALUES (NOW(), 1, 'Uber'), (NOW(), 1, 'Padaria Santa')"));
    AnaliseDados classificacao;
    classificacao.setupData();
    classificacao.findChild<QObject *>("lineEdit_filtro")->setProperty("text", "uber");
    classificacao.findChild<QObject *>("checkBox_regra")->setProperty("checked", true);
    clica(&classificacao, "pushButton_filtro");
    classificacao.findChild<QTableView *>("tableWidget_dados")->selectRow(0);
    classificacao.findChild<QTableView *>("tableView_categoria")->selectRow(1);
    clica(&classificacao, "pushButton_classificar");
    QVERIFY(gatilho.isEmpty() || admin(gatilho));
    ImportarCSV importacao;
    importacao.setupData(&padrao);
    QMetaObject::invokeMethod(&importacao, "loadCsvIntoTableWidget", Q_ARG(QString, FINARA_SAMPLES
        "/extrato-exemplo.csv"), Q_ARG(QTableWidget *, importacao.findChild<QTableWidget *>()));
    RespostaModal resposta;
    QString vista;
    resposta.aoAbrir([&](QWidget *c) { vista = qobject_cast<QMessageBox *>(c)->text(); c->close(); });
    clica(&importacao, "pushButton_importar");
    QVERIFY2(vista.contains(QRegularExpression(caixa)), qPrintable(vista));
    QCOMPARE(banco.valor("SELECT CONCAT_WS('|', COUNT(*), COUNT(idCategoria), GROUP_CONCAT(DISTINCT IF("
        "idCategoria, fornecedor, NULL) ORDER BY 1), (SELECT COUNT(*) FROM regra)) FROM gastos").toString(), gastos);
}

QTEST_MAIN(TstRegras)
#include "tst_regras.moc"
