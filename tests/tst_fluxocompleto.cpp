#include "app/finara.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// A whole typical run through the real main window, as a user makes it, checking the tables
// after each step. It runs beside a server of its own, so "Conectar" reaches vestara_gastos there.
class TstFluxoCompleto : public QObject
{
    Q_OBJECT

private slots:
    void usoTipico();

private:
    int contagem(const QString &resto = {}) const { return banco.valor("SELECT COUNT(*) FROM gastos " + resto).toInt(); }
    static void clicar(QWidget *janela, const char *botao) { janela->findChild<QPushButton *>(botao)->click(); }
    QString extratoDoMesCorrente();

    BancoTeste banco {QStringLiteral("fluxo")};
    QTemporaryDir pasta;
    int linhasDoExtrato = 0;
};

// The sample statement moved to end in the current month, which the first listing and report show.
QString TstFluxoCompleto::extratoDoMesCorrente()
{
    QFile original(QStringLiteral(FINARA_SAMPLES "/extrato-exemplo.csv"));
    QFile copia(pasta.filePath(QStringLiteral("extrato.csv")));
    if (!original.open(QIODevice::ReadOnly | QIODevice::Text) || !copia.open(QIODevice::WriteOnly | QIODevice::Text))
        return {};
    QStringList linhas = QString::fromUtf8(original.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const auto data = [](const QString &linha) { return QDate::fromString(linha.left(10), QStringLiteral("dd/MM/yyyy")); };
    QDate ultima;
    for (const QString &linha : qAsConst(linhas))
        ultima = qMax(ultima, data(linha));
    const int meses = (QDate::currentDate().year() - ultima.year()) * 12 + QDate::currentDate().month() - ultima.month();
    for (QString &linha : linhas)
        linha = data(linha).addMonths(meses).toString(QStringLiteral("dd/MM/yyyy")) + linha.mid(10);
    linhasDoExtrato = linhas.size();
    copia.write(linhas.join(QLatin1Char('\n')).toUtf8());
    return copia.fileName();
}

void TstFluxoCompleto::usoTipico()
{
    QVERIFY2(banco.pronto(), qPrintable(banco.erro()));
    QVERIFY(banco.executa(QStringLiteral("USE vestara_gastos")));
    QCOMPARE(contagem(), 0);
    const QString arquivo = extratoDoMesCorrente();
    QVERIFY(!arquivo.isEmpty());
    RespostaModal resposta;
    Finara w;
    w.show();

    // Connect with the built-in parameters.
    resposta.aoAbrir([](QWidget *d) { clicar(d, "pushButton_bd"); });
    clicar(&w, "pushButton_conectarBD");
    QVERIFY(w.baseDeDados().isOpen());
    QCOMPARE(w.baseDeDados().databaseName(), QStringLiteral("vestara_gastos"));

    // Two categories, the second one trimmed on its way in.
    resposta.aoAbrir([](QWidget *d) {
        for (const char *categoria : {"Mercado", "  Moradia "}) {
            d->findChild<QLineEdit *>("lineEdit_categoria")->setText(QString::fromUtf8(categoria));
            clicar(d, "pushButton_inserir");
        }
        d->close();
    });
    clicar(&w, "pushButton_categoria");
    QCOMPARE(banco.valor(QStringLiteral("SELECT GROUP_CONCAT(categoria ORDER BY categoria) FROM categoria")).toString(), "Mercado,Moradia");
    QCOMPARE(contagem(), 0);

    // The statement, chosen in the real file dialog, read into the grid and imported unclassified.
    int linhasNaGrade = 0;
    resposta.aoAbrir([&](QWidget *d) {
        resposta.aoAbrir([&](QWidget *escolha) {
            if (QWidget *foco = escolha->focusWidget())
                foco->clearFocus(); // selectFile leaves the name field alone while it has the focus
            qobject_cast<QFileDialog *>(escolha)->selectFile(arquivo);
            QMetaObject::invokeMethod(escolha, "accept");
        });
        clicar(d, "pushButton_lercsv");
        linhasNaGrade = d->findChild<QTableWidget *>("tableWidget_dados")->rowCount();
        clicar(d, "pushButton_importar");
    });
    clicar(&w, "pushButton_importarCSV");
    QCOMPARE(linhasNaGrade, linhasDoExtrato);
    QCOMPARE(contagem(), linhasDoExtrato);
    QCOMPARE(contagem(QStringLiteral("WHERE idCategoria IS NULL")), linhasDoExtrato);
    QCOMPARE(banco.valor(QStringLiteral("SELECT CAST(valor AS CHAR) FROM gastos WHERE fornecedor = 'Imobiliária Lopes' LIMIT 1")).toString(), "2150.00");
    QCOMPARE(contagem(QStringLiteral("WHERE descricao = 'Compra do mês'")), 3);

    // This month's bakeries, filtered and classified as "Mercado", first in the list sorted by name.
    int listadas = 0;
    resposta.aoAbrir([&](QWidget *d) {
        d->findChild<QLineEdit *>("lineEdit_filtro")->setText(QStringLiteral("Padaria"));
        clicar(d, "pushButton_filtro");
        auto *gastos = d->findChild<QTableWidget *>("tableWidget_dados");
        listadas = gastos->rowCount();
        gastos->selectAll();
        d->findChild<QTableView *>("tableView_categoria")->selectRow(0);
        clicar(d, "pushButton_classificar");
        d->close();
    });
    clicar(&w, "pushButton");
    const QString padariasDoMes = QStringLiteral("WHERE fornecedor LIKE '%Padaria%' AND DATE_FORMAT(data, '%Y%m') = DATE_FORMAT(CURDATE(), '%Y%m')");
    QVERIFY(listadas > 0);
    QCOMPARE(contagem(padariasDoMes), listadas);
    QCOMPARE(contagem(QStringLiteral("JOIN categoria USING (idCategoria) WHERE categoria = 'Mercado'")), listadas);
    QCOMPARE(contagem(QStringLiteral("WHERE idCategoria IS NOT NULL")), listadas);

    // The report's sum for "Mercado", and the detail window a double-click on it opens.
    QStringList categorias;
    QString somaMercado, tituloDoDetalhe;
    double somaDoDetalhe = 0;
    resposta.aoAbrir([&](QWidget *d) {
        auto *relatorio = d->findChild<QTableWidget *>("tableWidget_relatorio");
        for (int linha = 0; linha < relatorio->rowCount(); ++linha) {
            categorias << relatorio->item(linha, 1)->text();
            if (categorias.last() != QLatin1String("Mercado"))
                continue;
            somaMercado = relatorio->item(linha, 2)->text();
            const QPoint centro = relatorio->visualRect(relatorio->model()->index(linha, 2)).center();
            QTest::mouseClick(relatorio->viewport(), Qt::LeftButton, {}, centro); // a double-click opens only a pressed index
            QTest::mouseDClick(relatorio->viewport(), Qt::LeftButton, {}, centro);
        }
        if (auto *detalhe = d->findChild<JanelaDetalhe *>()) {
            tituloDoDetalhe = detalhe->windowTitle();
            auto *tabela = detalhe->findChild<QTableWidget *>();
            for (int linha = 0; linha < tabela->rowCount(); ++linha)
                somaDoDetalhe += tabela->item(linha, 3)->text().toDouble();
        }
        d->close();
    });
    clicar(&w, "pushButton_analisar");
    categorias.sort();
    QCOMPARE(categorias, (QStringList {"Mercado", "Não Classificado"}));
    const QString esperada = banco.valor(QStringLiteral("SELECT CAST(SUM(valor) AS CHAR) FROM gastos ") + padariasDoMes).toString();
    QCOMPARE(somaMercado, esperada);
    QCOMPARE(tituloDoDetalhe, QStringLiteral("Detalhes para Mercado (%1)").arg(QDate::currentDate().toString(QStringLiteral("MM/yyyy"))));
    QCOMPARE(QString::number(somaDoDetalhe, 'f', 2), esperada);
    QCOMPARE(resposta.pendentes(), 0);
}

QTEST_MAIN(TstFluxoCompleto)
#include "tst_fluxocompleto.moc"
