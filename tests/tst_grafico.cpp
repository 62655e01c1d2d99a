#include "budget/faixaorcamento.h"
#include "budget/janelaorcamento.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QTableWidget>
#include <QtCharts>
#include <QtTest>

using namespace QtCharts;
Q_DECLARE_METATYPE(FaixaOrcamento)

// The report's chart and the monthly budgets, on a scratch database.
class TstGrafico : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("grafico")};

    // A category (none for an empty name) spending valor k months back for each k.
    void gastos(const QString &nome, double valor, const QList<int> &meses)
    {
        if (!nome.isEmpty())
            banco.executa("INSERT INTO categoria (categoria) VALUES (?)", {nome});
        for (int k : meses)
            banco.executa("INSERT INTO gastos (data, valor, idCategoria) SELECT DATE_SUB(CURDATE(), "
                          "INTERVAL ? MONTH), ?, (SELECT idCategoria FROM categoria WHERE categoria = ?)",
                          {k, valor, nome});
    }
    static QList<QBarSet *> segmentos(const Relatorios &r)
    {
        const auto series = r.findChild<QChartView *>()->chart()->series();
        auto *barras = series.isEmpty() ? nullptr : qobject_cast<QStackedBarSeries *>(series.first());
        return barras ? barras->barSets() : QList<QBarSet *>();
    }
    static QTableWidget *grade(const QObject &janela) { return janela.findChild<QTableWidget *>(); }

private slots:
    void init() { QVERIFY(banco.pronto() && banco.esvaziar() && banco.executa("DELETE FROM orcamento")); }

    void oitoMaioresMaisOutrosSomamComoAGrade_data()
    {
        QTest::addColumn<int>("categorias");
        QTest::addColumn<bool>("semCategoria");
        QTest::addColumn<QStringList>("primeirosSegmentos");
        QTest::newRow("sem gastos: só a explicação") << 0 << false << QStringList();
        QTest::newRow("três categorias") << 3 << false << QStringList {"C3", "C2", "C1"};
        QTest::newRow("doze viram oito e Outros") << 12 << true
                                                  << QStringList {"C12", "C11", "C10", "C9", "C8", "C7",
                                                                  "C6", "C5", "Outros", "Não Classificado"};
    }
    void oitoMaioresMaisOutrosSomamComoAGrade()
    {
        QFETCH(int, categorias);
        QFETCH(bool, semCategoria);
        QFETCH(QStringList, primeirosSegmentos);
        for (int i = 1; i <= categorias; ++i)
            gastos(QStringLiteral("C%1").arg(i), i * 10.25, {0, i % 13});
        if (semCategoria)
            gastos(QString(), 3.5, {12});
        Relatorios r;
        QStringList nomes, meses;
        for (QBarSet *s : segmentos(r))
            nomes << s->label();
        QCOMPARE(nomes, primeirosSegmentos);
        QVERIFY(!r.findChild<QChartView *>()->chart()->title().isEmpty() == nomes.isEmpty());
        for (int m = 0; m < 13 && !nomes.isEmpty(); ++m) {
            double noGrafico = 0, naGrade = 0;
            for (QBarSet *s : segmentos(r))
                noGrafico += s->at(m);
            for (int linha = 0; linha < grade(r)->rowCount(); ++linha)
                naGrade += grade(r)->item(linha, 14 - m)->text().toDouble();
            QCOMPARE(qRound(noGrafico * 100), qRound(naGrade * 100));
        }
    }

    void cliqueNoSegmentoAbreODetalheDaCelula_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("mesesAtras");
        QTest::newRow("categoria, um mês atrás") << "Mercado" << 1;
        QTest::newRow("não classificado, mês atual") << "Não Classificado" << 0;
    }
    void cliqueNoSegmentoAbreODetalheDaCelula()
    {
        QFETCH(QString, nome);
        QFETCH(int, mesesAtras);
        gastos("Mercado", 100, {0, 1, 1});
        gastos(QString(), 40, {0, 1});
        Relatorios r;
        r.resize(900, 700);
        r.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r));
        auto *vista = r.findChild<QChartView *>();
        double base = 0;
        QBarSet *alvo = nullptr;
        for (QBarSet *s : segmentos(r)) {
            alvo = s;
            if (s->label() == nome)
                break;
            base += s->at(12 - mesesAtras);
        }
        const QPointF ponto = vista->chart()->mapToPosition({12.0 - mesesAtras, base + alvo->at(12 - mesesAtras) / 2},
                                                            vista->chart()->series().first());
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, vista->mapFromScene(vista->chart()->mapToScene(ponto)));
        QTRY_COMPARE(r.findChildren<JanelaDetalhe *>().size(), 1);
        const QString mes = QDate::currentDate().addMonths(-mesesAtras).toString("MM/yyyy");
        QCOMPARE(r.findChild<JanelaDetalhe *>()->windowTitle(), QString("Detalhes para %1 (%2)").arg(nome, mes));
        QCOMPARE(grade(*r.findChild<JanelaDetalhe *>())->rowCount(), nome == "Mercado" && mesesAtras ? 2 : 1);
    }

    // Typed over a budget of 100: a refused amount warns, keeps its text and changes nothing.
    void orcamentoValidadoComoValorImportado_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("gravado"); // -1: no budget
        QTest::newRow("notação brasileira") << "R$ 1.446,90" << 1446.9;
        QTest::newRow("ponto decimal") << "12.50" << 12.5;
        QTest::newRow("vazio tira o orçamento") << " " << -1.0;
        QTest::newRow("texto") << "muito" << 100.0;
        QTest::newRow("negativo") << "-5,00" << 100.0;
        QTest::newRow("três casas") << "1,234" << 100.0;
        QTest::newRow("além do que cabe") << "100.000.000.000,00" << 100.0;
    }
    void orcamentoValidadoComoValorImportado()
    {
        QFETCH(QString, texto);
        QFETCH(double, gravado);
        gastos("Mercado", 1, {});
        QVERIFY(banco.executa("INSERT INTO orcamento SELECT idCategoria, 100 FROM categoria"));
        RespostaModal modal;
        JanelaOrcamento janela;
        grade(janela)->item(0, 1)->setText(texto);
        const QVariant valor = banco.valor("SELECT valor FROM orcamento");
        QCOMPARE(valor.isValid() ? valor.toDouble() : -1.0, gravado);
        const bool recusado = gravado == 100;
        QTRY_COMPARE(modal.vistas().size(), int(recusado));
        QCOMPARE(grade(janela)->item(0, 1)->text() == texto, recusado);
    }

    // The current month against the budget; the chart's line is the budgets' total.
    void mesAtualTingidoPeloOrcamento_data()
    {
        QTest::addColumn<double>("gasto");
        QTest::addColumn<FaixaOrcamento>("faixa");
        QTest::newRow("sem gasto mostra 0") << 0.0 << FaixaOrcamento::Folgado;
        QTest::newRow("um centavo abaixo de 80%") << 1157.51 << FaixaOrcamento::Folgado;
        QTest::newRow("80% exatos") << 1157.52 << FaixaOrcamento::Alerta;
        QTest::newRow("100% exatos") << 1446.90 << FaixaOrcamento::Alerta;
        QTest::newRow("um centavo acima") << 1446.91 << FaixaOrcamento::Estourado;
    }
    void mesAtualTingidoPeloOrcamento()
    {
        QFETCH(double, gasto);
        QFETCH(FaixaOrcamento, faixa);
        gastos("Mercado", gasto, {0});
        gastos("Lazer", 10, {1});
        QVERIFY(banco.executa("INSERT INTO orcamento SELECT idCategoria, 1446.90 FROM categoria"));
        Relatorios r;
        const auto linha = grade(r)->findItems("Mercado", Qt::MatchExactly);
        QCOMPARE(linha.size(), 1);
        QTableWidgetItem *mes = grade(r)->item(linha.first()->row(), 2);
        QCOMPARE(mes->text().toDouble(), gasto);
        QCOMPARE(grade(r)->item(linha.first()->row(), 15)->text(), QString("1446.90"));
        QCOMPARE(mes->background().style() == Qt::NoBrush ? QColor() : mes->background().color(), corDaFaixa(faixa));
        auto *total = qobject_cast<QLineSeries *>(r.findChild<QChartView *>()->chart()->series().last());
        QVERIFY(total && total->at(0).y() == 2 * 1446.90);
    }
};

QTEST_MAIN(TstGrafico)
#include "tst_grafico.moc"
