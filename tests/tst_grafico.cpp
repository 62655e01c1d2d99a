#include "budget/faixaorcamento.h"
#include "budget/janelaorcamento.h"
#include "messages/formatacao.h"
#include "reports/agrupamentografico.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QtCharts>
#include <QtTest>

using namespace QtCharts;

// A budget typed in its window, then the report's chart and grid, on a scratch database.
class TstGrafico : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("grafico")};

    // A category (none for an empty name) spending valor k months back for each k.
    void gastos(const QString &nome, double valor, const QList<int> &meses)
    {
        banco.executa("INSERT INTO categoria (categoria) SELECT ? WHERE ? <> ''", {nome, nome});
        for (int k : meses)
            banco.executa("INSERT INTO gastos (data, valor, idCategoria) SELECT CURDATE() - "
                          "INTERVAL ? MONTH, ?, (SELECT idCategoria FROM categoria WHERE "
                          "categoria = ?)", {k, valor, nome});
    }
    static QTableWidget *grade(const QObject &janela) { return janela.findChild<QTableWidget *>(); }

private slots:
    void init() { QVERIFY(banco.esvaziar() && banco.executa("DELETE FROM orcamento")); }

    // C1's budget of 100 retyped as texto; C1 spends gasto this month and, unless that is
    // nothing, eleven more categories and unclassified expenses spend in other months.
    void orcamentoDigitadoNoRelatorioENoGrafico_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("orcamento"); // as the report shows it; "100.00": refused
        QTest::addColumn<double>("gasto");
        QTest::addColumn<QColor>("tinta");
        const QColor ambar = corDaFaixa(FaixaOrcamento::Alerta);
        const QColor vermelho = corDaFaixa(FaixaOrcamento::Estourado);
        QTest::newRow("sem gastos: explicação, 0") << "R$ 1.446,90" << "1446.90" << 0.0 << QColor();
        QTest::newRow("80% exatos") << "1446.90" << "1446.90" << 1157.52 << ambar;
        QTest::newRow("100% exatos") << "1446,9" << "1446.90" << 1446.90 << ambar;
        QTest::newRow("um centavo acima") << "R$1446,90" << "1446.90" << 1446.91 << vermelho;
        QTest::newRow("texto recusado") << "muito" << "100.00" << 100.01 << vermelho;
        QTest::newRow("vazio tira o orçamento") << " " << "" << 1446.91 << QColor();
    }
    void orcamentoDigitadoNoRelatorioENoGrafico()
    {
        QFETCH(QString, texto);
        QFETCH(QString, orcamento);
        QFETCH(double, gasto);
        QFETCH(QColor, tinta);
        gastos("C1", gasto, gasto ? QList<int> {0} : QList<int> {});
        for (int i = 2; i <= 13 && gasto; ++i)
            gastos(i < 13 ? QStringLiteral("C%1").arg(i) : "", i * 1.25, {i % 13, i % 12, 12});
        QVERIFY(banco.executa("INSERT INTO orcamento SELECT MIN(idCategoria), 100 FROM categoria"));
        RespostaModal modal;
        JanelaOrcamento janela;
        grade(janela)->item(0, 1)->setText(texto);
        QCOMPARE(modal.vistas().size(), int(orcamento == "100.00")); // refused: kept in its cell
        QCOMPARE(grade(janela)->item(0, 1)->text() == texto, orcamento == "100.00");
        const QString totais = janela.findChild<QLabel *>("label_totais")->text();
        QVERIFY2(totais.startsWith("Orçamento total: " + centavosEmReais(qRound64(orcamento.toDouble() * 100))),
                 qPrintable(totais));
        Relatorios r;
        QTableWidget *t = r.findChild<QTableWidget *>();
        QChart *grafico = r.findChild<QChartView *>()->chart();
        auto *barras = qobject_cast<QStackedBarSeries *>(grafico->series().value(0));
        const QList<QBarSet *> segmentos = barras ? barras->barSets() : QList<QBarSet *>();
        QString nomes; // the largest, whatever their key; "Não Classificado" apart
        for (QBarSet *s : segmentos)
            nomes += s->label() + ' ';
        QCOMPARE(nomes, gasto ? "C1 C12 C11 C10 C9 C8 C7 C6 Outros Não Classificado " : "");
        QCOMPARE(grafico->title().isEmpty(), bool(gasto));
        for (int m = 0; m < 13; ++m) { // the chart's month m, oldest first, against the grid's
            double soma = 0;
            for (QBarSet *s : segmentos)
                soma += s->at(m);
            for (int linha = 0; linha < t->rowCount(); ++linha)
                soma -= t->item(linha, 14 - m)->text().toDouble();
            QCOMPARE(qRound(soma * 100), 0);
        }
        QTableWidgetItem *mes = t->item(t->findItems("C1", Qt::MatchExactly).value(0)->row(), 2);
        QCOMPARE(mes->text(), QString::number(gasto, 'f', 2));
        QCOMPARE(t->item(mes->row(), 15)->text(), orcamento);
        QCOMPARE(mes->background().style() ? mes->background().color() : QColor(), tinta);
        if (!gasto)
            return;
        emit segmentos.first()->clicked(12);
        const QString titulo = QDate::currentDate().toString("'Detalhes para C1 ('MM/yyyy')'");
        QCOMPARE(r.findChild<QDialog *>()->windowTitle(), titulo);
    }

    // No budget, or one of zero, never colours a month, whatever was spent.
    void semOrcamentoSemCor_data()
    {
        QTest::addColumn<qint64>("gasto");
        QTest::newRow("com gasto") << qint64(100);
        QTest::newRow("sem gasto") << qint64(0);
    }
    void semOrcamentoSemCor()
    {
        QFETCH(qint64, gasto);
        QCOMPARE(faixaDoOrcamento(gasto, 0), FaixaOrcamento::Folgado);
    }

    // "Outros" only when there are more categories than the chart draws on their own; equal
    // totals keep the grid's order.
    void outrosAlemDasMaiores_data()
    {
        QTest::addColumn<int>("categorias");
        QTest::addColumn<QString>("segmentos");
        QTest::newRow("tantas quanto as maiores") << 3 << "1 2 3";
        QTest::newRow("uma a mais") << 4 << "1 2 3 Outros";
    }
    void outrosAlemDasMaiores()
    {
        QFETCH(int, categorias);
        QVector<GastosDaCategoria> linhas;
        for (int id = 1; id <= categorias; ++id)
            linhas.append({id, QString::number(id), {100}});
        QStringList nomes;
        for (const SerieDoGrafico &serie : agrupaParaGrafico(linhas, QDate(2026, 12, 1), 0, 3).series)
            nomes << serie.nome;
        QTEST(nomes.join(' '), "segmentos");
    }

    // A table that cannot be read: the window says so, rather than showing zeros or nothing.
    void leituraQueFalha_data()
    {
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<bool>("relatorio"); // or the budget's window
        QTest::addColumn<QString>("aviso");
        QTest::newRow("parcelas no orçamento") << "compra" << false << "As compras parceladas não puderam ser lidas";
        QTest::newRow("entradas no relatório") << "entrada" << true << "As entradas não puderam ser lidas";
    }
    void leituraQueFalha()
    {
        QFETCH(QString, tabela);
        QFETCH(bool, relatorio);
        QFETCH(QString, aviso);
        QVERIFY(banco.executa(QString("RENAME TABLE %1 TO fora").arg(tabela)));
        const auto devolve = qScopeGuard([&] { banco.executa(QString("RENAME TABLE fora TO %1").arg(tabela)); });
        RespostaModal modal;
        QScopedPointer<QDialog> janela(relatorio ? static_cast<QDialog *>(new Relatorios) : new JanelaOrcamento);
        QVERIFY2(modal.vistas().join('|').contains(aviso), qPrintable(modal.vistas().join('|')));
    }

    // At the report's first size, twelve categories, the unclassified and a budget: every
    // label, mark and name of the chart whole, none cut to "...".
    void graficoLegivel()
    {
        for (int i = 1; i <= 13; ++i)
            gastos(i < 13 ? QStringLiteral("Categoria %1").arg(i) : "", i * 812.5, {0, 3, 6, 9, 12});
        QVERIFY(banco.executa("INSERT INTO orcamento SELECT idCategoria, 900 FROM categoria"));
        Relatorios r;
        r.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r));
        const auto textos = [&r] {
            QStringList lista;
            for (QGraphicsItem *item : r.findChild<QChartView *>()->scene()->items())
                if (auto *texto = dynamic_cast<QGraphicsTextItem *>(item); texto && texto->isVisible())
                    lista << texto->toPlainText();
            return lista.join('|');
        };
        QTRY_VERIFY2(textos().contains("12/") && !textos().contains("..."), qPrintable(textos()));
    }
};

QTEST_MAIN(TstGrafico)
#include "tst_grafico.moc"
