#include "app/finara.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

// A whole typical run through the real main window, as a user makes it:
// connect, add categories, import the sample statement, classify, and look
// at the report and the expenses behind one of its sums. It runs beside a
// server of its own, so "Conectar" reaches vestara_gastos there.
class TstFluxoCompleto : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void usoTipico();

private:
    void conectar(Finara &w);
    void cadastrarCategorias(Finara &w);
    void importarExtrato(Finara &w);
    void classificarPadarias(Finara &w);
    void analisar(Finara &w);

    int contagem(const QString &sql) const { return banco->valor(sql).toInt(); }
    QString extratoDoMesCorrente();
    static void clicar(QWidget *janela, const char *botao)
    {
        janela->findChild<QPushButton *>(botao)->click();
    }

    BancoTeste *banco = nullptr;
    QTemporaryDir pasta;
    RespostaModal *resposta = nullptr;
    int linhasDoExtrato = 0;
};

void TstFluxoCompleto::initTestCase()
{
    banco = new BancoTeste(QStringLiteral("fluxo"));
    QVERIFY2(banco->pronto(), qPrintable(banco->erro()));
    QVERIFY(banco->executa(QStringLiteral("USE vestara_gastos")));
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos")), 0);
}

void TstFluxoCompleto::cleanupTestCase()
{
    delete banco;
}

// The sample statement with its months moved so that its last month is the
// current one: the first listing and the report's first column then show it.
QString TstFluxoCompleto::extratoDoMesCorrente()
{
    QFile original(QStringLiteral(FINARA_SAMPLES "/extrato-exemplo.csv"));
    if (!original.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList linhas = QString::fromUtf8(original.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QDate ultima;
    for (const QString &linha : qAsConst(linhas))
        ultima = qMax(ultima, QDate::fromString(linha.section(QLatin1Char(';'), 0, 0), QStringLiteral("dd/MM/yyyy")));
    const QDate hoje = QDate::currentDate();
    const int meses = (hoje.year() - ultima.year()) * 12 + hoje.month() - ultima.month();
    for (QString &linha : linhas) {
        const QDate data = QDate::fromString(linha.section(QLatin1Char(';'), 0, 0), QStringLiteral("dd/MM/yyyy"));
        linha = data.addMonths(meses).toString(QStringLiteral("dd/MM/yyyy")) + linha.mid(10);
    }
    linhasDoExtrato = linhas.size();
    QFile copia(pasta.filePath(QStringLiteral("extrato.csv")));
    if (!copia.open(QIODevice::WriteOnly | QIODevice::Text))
        return {};
    copia.write(linhas.join(QLatin1Char('\n')).toUtf8());
    return copia.fileName();
}

void TstFluxoCompleto::usoTipico()
{
    RespostaModal respostaDoTeste;
    resposta = &respostaDoTeste;
    Finara w;
    w.show();
    // Each step checks the tables before the next one starts.
    using Passo = void (TstFluxoCompleto::*)(Finara &);
    for (Passo passo : {&TstFluxoCompleto::conectar, &TstFluxoCompleto::cadastrarCategorias,
                        &TstFluxoCompleto::importarExtrato, &TstFluxoCompleto::classificarPadarias,
                        &TstFluxoCompleto::analisar}) {
        (this->*passo)(w);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(resposta->pendentes(), 0);
}

void TstFluxoCompleto::conectar(Finara &w)
{
    resposta->aoAbrir([](QWidget *d) { clicar(d, "pushButton_bd"); });
    clicar(&w, "pushButton_conectarBD");
    QVERIFY(w.baseDeDados().isOpen());
    QCOMPARE(w.baseDeDados().databaseName(), QStringLiteral("vestara_gastos"));
}

void TstFluxoCompleto::cadastrarCategorias(Finara &w)
{
    resposta->aoAbrir([](QWidget *d) {
        auto *nome = d->findChild<QLineEdit *>("lineEdit_categoria");
        for (const char *categoria : {"Mercado", "  Moradia "}) {
            nome->setText(QString::fromUtf8(categoria));
            clicar(d, "pushButton_inserir");
        }
        d->close();
    });
    clicar(&w, "pushButton_categoria");
    QCOMPARE(banco->valor(QStringLiteral("SELECT GROUP_CONCAT(categoria ORDER BY categoria) FROM categoria")).toString(),
             QStringLiteral("Mercado,Moradia"));
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos")), 0);
}

void TstFluxoCompleto::importarExtrato(Finara &w)
{
    const QString arquivo = extratoDoMesCorrente();
    QVERIFY(!arquivo.isEmpty());
    int linhasNaGrade = 0;
    resposta->aoAbrir([&](QWidget *d) {
        resposta->aoAbrir([&](QWidget *dialogoDeArquivo) {
            auto *escolha = qobject_cast<QFileDialog *>(dialogoDeArquivo);
            // selectFile leaves the name field alone while it has the focus.
            if (QWidget *foco = escolha->focusWidget())
                foco->clearFocus();
            escolha->selectFile(arquivo);
            QMetaObject::invokeMethod(escolha, "accept");
        });
        clicar(d, "pushButton_lercsv");
        linhasNaGrade = d->findChild<QTableWidget *>("tableWidget_dados")->rowCount();
        clicar(d, "pushButton_importar");
    });
    clicar(&w, "pushButton_importarCSV");
    QCOMPARE(linhasNaGrade, linhasDoExtrato);
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos")), linhasDoExtrato);
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos WHERE idCategoria IS NULL")), linhasDoExtrato);
    QCOMPARE(banco->valor(QStringLiteral("SELECT CAST(valor AS CHAR) FROM gastos WHERE fornecedor = 'Imobiliária Lopes' LIMIT 1")).toString(),
             QStringLiteral("2150.00"));
    QCOMPARE(banco->valor(QStringLiteral("SELECT COUNT(*) FROM gastos WHERE descricao = 'Compra do mês'")).toInt(), 3);
}

void TstFluxoCompleto::classificarPadarias(Finara &w)
{
    int listadas = 0;
    resposta->aoAbrir([&](QWidget *d) {
        d->findChild<QLineEdit *>("lineEdit_filtro")->setText(QStringLiteral("Padaria"));
        clicar(d, "pushButton_filtro");
        auto *gastos = d->findChild<QTableWidget *>("tableWidget_dados");
        listadas = gastos->rowCount();
        gastos->selectAll();
        auto *categorias = d->findChild<QTableView *>("tableView_categoria");
        categorias->selectRow(0); // "Mercado", the list being sorted by name
        clicar(d, "pushButton_classificar");
        d->close();
    });
    clicar(&w, "pushButton");
    const QString padariasDoMes = QStringLiteral(
        "SELECT COUNT(*) FROM gastos WHERE fornecedor LIKE '%Padaria%' "
        "AND DATE_FORMAT(data, '%Y%m') = DATE_FORMAT(CURDATE(), '%Y%m')");
    QVERIFY(listadas > 0);
    QCOMPARE(contagem(padariasDoMes), listadas);
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos g JOIN categoria c USING (idCategoria) "
                                     "WHERE c.categoria = 'Mercado'")),
             listadas);
    QCOMPARE(contagem(QStringLiteral("SELECT COUNT(*) FROM gastos WHERE idCategoria IS NOT NULL")), listadas);
}

void TstFluxoCompleto::analisar(Finara &w)
{
    QStringList categorias;
    QString somaMercado;
    QStringList valoresDoDetalhe;
    QString tituloDoDetalhe;
    resposta->aoAbrir([&](QWidget *d) {
        auto *relatorio = d->findChild<QTableWidget *>("tableWidget_relatorio");
        int linhaMercado = -1;
        for (int linha = 0; linha < relatorio->rowCount(); ++linha) {
            categorias << relatorio->item(linha, 1)->text();
            if (relatorio->item(linha, 1)->text() == QLatin1String("Mercado"))
                linhaMercado = linha;
        }
        if (linhaMercado < 0) {
            d->close();
            return;
        }
        somaMercado = relatorio->item(linhaMercado, 2)->text();
        const QRect celula = relatorio->visualRect(relatorio->model()->index(linhaMercado, 2));
        // The view opens a double-clicked index only after a press on it.
        QTest::mouseClick(relatorio->viewport(), Qt::LeftButton, {}, celula.center());
        QTest::mouseDClick(relatorio->viewport(), Qt::LeftButton, {}, celula.center());
        if (auto *detalhe = d->findChild<JanelaDetalhe *>()) {
            tituloDoDetalhe = detalhe->windowTitle();
            auto *tabela = detalhe->findChild<QTableWidget *>();
            for (int linha = 0; linha < tabela->rowCount(); ++linha)
                valoresDoDetalhe << tabela->item(linha, 3)->text();
        }
        d->close();
    });
    clicar(&w, "pushButton_analisar");
    categorias.sort();
    QCOMPARE(categorias, (QStringList {"Mercado", "Não Classificado"}));
    const QString esperada = banco->valor(QStringLiteral(
        "SELECT CAST(SUM(valor) AS CHAR) FROM gastos WHERE fornecedor LIKE '%Padaria%' "
        "AND DATE_FORMAT(data, '%Y%m') = DATE_FORMAT(CURDATE(), '%Y%m')")).toString();
    QCOMPARE(somaMercado, esperada);
    QCOMPARE(tituloDoDetalhe, QStringLiteral("Detalhes para Mercado (%1)")
                                  .arg(QDate::currentDate().toString(QStringLiteral("MM/yyyy"))));
    double soma = 0;
    for (const QString &valor : qAsConst(valoresDoDetalhe))
        soma += valor.toDouble();
    QCOMPARE(QString::number(soma, 'f', 2), esperada);
}

QTEST_MAIN(TstFluxoCompleto)
#include "tst_fluxocompleto.moc"
