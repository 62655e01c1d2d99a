#include "classification/analisedados.h"
#include "import/importarcsv.h"
#include "rules/cadastroderegras.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

class TstRegras : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("regras")};
    QSqlDatabase padrao = QSqlDatabase::database();
    bool sql(const QString &texto) const { return QSqlQuery(banco.admin()).exec(texto); }

private slots:
    void initTestCase() { QVERIFY(sql("INSERT INTO categoria VALUES (1, 'A'), (2, 'B')")); }
    void init() { QVERIFY(sql("TRUNCATE gastos") && sql("TRUNCATE regra")); }
    void aplicacao_data();
    void aplicacao();
    void regraDoFiltro_data();
    void regraDoFiltro();
    void exemploImportado();
};

void TstRegras::aplicacao_data()
{
    QTest::addColumn<QString>("regras"); // as regra's columns
    // Of each expense; 4 was classified by hand, 6 under a category deleted since.
    QTest::addColumn<QString>("esperadas");
    QTest::newRow("primeira vence") << "(1,1,'padaria',1,1,1),(2,2,'padaria',1,1,2)" << "A,-,A,B,-,A";
    QTest::newRow("ordem muda") << "(1,2,'padaria',1,1,1),(2,1,'padaria',1,1,2)" << "B,-,B,B,-,B";
    QTest::newRow("acentos e campos") << "(1,1,'PAO',1,0,1),(2,2,'frances',0,1,2)" << "B,A,-,B,-,-";
    QTest::newRow("curingas são texto") << "(1,1,'50%',0,1,1),(2,2,'x_off',0,1,2)" << "-,A,-,B,-,-";
    QTest::newRow("categoria 3 apagada") << "(1,1,'pad',1,1,3),(2,2,'pad',0,1,2)" << "-,-,B,B,-,-";
}

void TstRegras::aplicacao()
{
    QFETCH(QString, regras);
    QVERIFY(sql("INSERT INTO regra (idRegra, posicao, padrao, noFornecedor, naDescricao, idCategoria) "
                "VALUES " + regras));
    QVERIFY(sql("INSERT INTO gastos (idGasto, data, fornecedor, valor, descricao, idCategoria) "
        "VALUES (1,NOW(),'Padaria',1,'Pão francês',NULL),(2,NOW(),'PÃO DE AÇÚCAR',1,'50% off',NULL),"
        "(3,NOW(),'Uber',1,'padaria',NULL),(4,NOW(),'Sol',1,'',2),(5,NOW(),'X',1,'50x off',NULL),"
        "(6,NOW(),'Padaria Velha',1,'',9)"));
    const auto contadas = CadastroDeRegras::contar(); // what the question shows, per rule
    const auto aplicadas = CadastroDeRegras::aplicar();
    QVERIFY(contadas.ok() && aplicadas.ok());
    QCOMPARE(aplicadas.valor(), std::accumulate(contadas.valor().begin(), contadas.valor().end(), 0));
    QTEST(banco.valor("SELECT GROUP_CONCAT(IFNULL(categoria, '-') ORDER BY idGasto) FROM gastos "
                      "LEFT JOIN categoria USING (idCategoria)").toString(), "esperadas");
}

// Classified under a filter with "Criar regra com este filtro" ticked, the first rule of its
// pattern, if any, looking into suppliers only: then, the expenses unclassified again, the rules
// give category A to exactly those the filter listed.
void TstRegras::regraDoFiltro_data()
{
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QString>("existente");
    QTest::addColumn<QString>("listadas");
    QTest::newRow("% no fornecedor e na descrição") << "posto%shell" << "" << "1,2";
    QTest::newRow("_ é uma letra") << "a_c" << "" << "4,5";
    QTest::newRow("\\% é o próprio %") << "50\\%" << "" << "7";
    QTest::newRow("\\ no fim torna o % final texto") << "x\\" << "" << "9";
    QTest::newRow("regra do padrão alterada") << "posto%shell" << "posto%shell" << "1,2";
}

void TstRegras::regraDoFiltro()
{
    QFETCH(QString, filtro);
    QFETCH(QString, existente);
    QVERIFY(sql("INSERT INTO gastos (idGasto, data, valor, fornecedor, descricao) VALUES "
        "(1, NOW(), 1, 'Posto Shell Centro', ''), (2, NOW(), 1, 'Auto Posto', 'posto da shell'), "
        "(3, NOW(), 1, 'Shell', 'posto'), (4, NOW(), 1, 'a_c', ''), (5, NOW(), 1, 'ABC', ''), "
        "(6, NOW(), 1, 'ac', ''), (7, NOW(), 1, 'Loja 50% off', ''), (8, NOW(), 1, 'Loja 50 off', ''), "
        "(9, NOW(), 1, 'tax%', ''), (10, NOW(), 1, 'tax', '')"));
    QVERIFY(existente.isEmpty() || banco.executa("INSERT INTO regra (posicao, padrao, noFornecedor, "
                                                 "naDescricao, idCategoria) VALUES (1, ?, 1, 0, 2)", {existente}));
    RespostaModal resposta;
    AnaliseDados d;
    d.setupData();
    d.findChild<QLineEdit *>("lineEdit_filtro")->setText(filtro);
    d.findChild<QPushButton *>("pushButton_filtro")->click();
    auto *grade = d.findChild<QTableWidget *>("tableWidget_dados");
    QStringList listadas;
    for (int linha = 0; linha < grade->rowCount(); ++linha)
        listadas << grade->item(linha, 0)->text();
    std::sort(listadas.begin(), listadas.end(), [](auto &a, auto &b) { return a.toInt() < b.toInt(); });
    QTEST(listadas.join(','), "listadas");
    auto *caixa = d.findChild<QCheckBox *>("checkBox_regra");
    caixa->setChecked(true);
    grade->selectRow(0);
    d.findChild<QTableView *>("tableView_categoria")->selectRow(0);
    d.findChild<QPushButton *>("pushButton_classificar")->click();
    QVERIFY(caixa->isChecked());
    QCOMPARE(resposta.vistas().join("").contains("já existia"), !existente.isEmpty());
    QVERIFY(sql("UPDATE gastos SET idCategoria = NULL"));
    QVERIFY(CadastroDeRegras::contar().ok() && CadastroDeRegras::aplicar().ok());
    QCOMPARE(banco.valor("SELECT CONCAT((SELECT COUNT(*) FROM regra), ':', GROUP_CONCAT(idGasto ORDER BY "
                         "idGasto)) FROM gastos WHERE idCategoria = 1").toString(), "1:" + listadas.join(','));
}

void TstRegras::exemploImportado()
{
    QVERIFY(sql("INSERT INTO regra (idRegra, posicao, padrao, noFornecedor, naDescricao, idCategoria) "
                "VALUES (1, 1, 'DROGARIA SAO', 1, 0, 1)") && sql("INSERT INTO "
        "gastos (data, valor, fornecedor) VALUES (NOW(), 1, 'Drogaria Sao'), (NOW(), 1, 'Uber')"));
    AnaliseDados classificacao;
    classificacao.setupData();
    classificacao.findChild<QObject *>("lineEdit_filtro")->setProperty("text", "uber");
    classificacao.findChild<QObject *>("checkBox_regra")->setProperty("checked", true);
    classificacao.findChild<QTableView *>("tableWidget_dados")->selectRow(1);
    classificacao.findChild<QTableView *>("tableView_categoria")->selectRow(1);
    classificacao.findChild<QPushButton *>("pushButton_classificar")->click();
    ImportarCSV importacao;
    importacao.setupData(&padrao);
    QMetaObject::invokeMethod(&importacao, "loadCsvIntoTableWidget", Q_ARG(QString, FINARA_SAMPLES
        "/extrato-exemplo.csv"), Q_ARG(QTableWidget *, importacao.findChild<QTableWidget *>()));
    RespostaModal resposta; // closes the error and the summary
    for (const char *valor : {"x", "1"}) { // a refused row first: nothing of it stays
        importacao.findChild<QTableWidget *>()->item(0, 2)->setText(valor);
        importacao.findChild<QPushButton *>("pushButton_importar")->click();
    }
    QCOMPARE(banco.valor("SELECT CONCAT_WS('|', COUNT(*), (SELECT COUNT(*) FROM regra), "
        "GROUP_CONCAT(DISTINCT fornecedor ORDER BY 1)) FROM gastos WHERE idCategoria").toString(),
             QStringLiteral("10|2|Drogaria São Paulo,Uber"));
}

QTEST_MAIN(TstRegras)
#include "tst_regras.moc"
