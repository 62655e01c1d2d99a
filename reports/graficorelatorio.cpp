#include "reports/graficorelatorio.h"

#include "reports/agrupamentografico.h"
#include "messages/formatacao.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>

#include <cmath>

using namespace QtCharts;

namespace {

const int marcasDesejadas = 5;

// A round step (1, 2 or 5 times a power of ten) giving about five marks up to maximo.
double passoDoEixo(double maximo)
{
    const double bruto = maximo / marcasDesejadas;
    const double grandeza = std::pow(10.0, std::floor(std::log10(bruto)));
    for (double fator : {1.0, 2.0, 5.0}) {
        if (fator * grandeza >= bruto)
            return fator * grandeza;
    }
    return 10 * grandeza;
}

// A value axis labelled in reais: QValueAxis only knows printf formats.
QCategoryAxis *eixoEmReais(double maximo)
{
    auto *eixo = new QCategoryAxis;
    eixo->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const double passo = passoDoEixo(maximo > 0 ? maximo : 1);
    const int marcas = int(std::ceil(maximo / passo - 1e-9));
    eixo->setStartValue(0);
    for (int i = 1; i <= qMax(1, marcas); ++i)
        eixo->append(emReais(i * passo), i * passo);
    eixo->setRange(0, qMax(1, marcas) * passo);
    return eixo;
}

double maiorMes(const DadosDoGrafico &dados)
{
    double maior = dados.orcamentoTotal;
    for (int mes = 0; mes < dados.meses.size(); ++mes) {
        double soma = 0;
        for (const SerieDoGrafico &serie : dados.series)
            soma += qMax(0.0, serie.porMes.at(mes));
        maior = qMax(maior, soma);
    }
    return maior;
}

// Across the whole width: the bars stand at 0, 1, ... and are one wide.
QLineSeries *linhaDoOrcamento(double total, int meses)
{
    auto *linha = new QLineSeries;
    linha->setName(QStringLiteral("Orçamento total (%1)").arg(emReais(total)));
    linha->append(-0.5, total);
    linha->append(meses - 0.5, total);
    QPen caneta(Qt::darkRed, 2, Qt::DashLine);
    linha->setPen(caneta);
    return linha;
}

// "Mercado — 03/2025: R$ 1.446,90"
QString dica(const SerieDoGrafico &serie, const QDate &mes, double valor)
{
    return QStringLiteral("%1 — %2: %3").arg(serie.nome, mes.toString(QStringLiteral("MM/yyyy")), emReais(valor));
}

} // namespace

GraficoRelatorio::GraficoRelatorio(QWidget *parent)
    : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
}

GraficoRelatorio::~GraficoRelatorio() = default;

void GraficoRelatorio::mostra(const DadosDoGrafico &dados)
{
    if (dados.series.isEmpty()) {
        mostraVazio(QStringLiteral("Nenhum gasto no mês atual nem nos doze meses anteriores."));
        return;
    }
    auto *grafico = new QChart;
    grafico->legend()->setAlignment(Qt::AlignBottom);
    auto *barras = new QStackedBarSeries;
    for (const SerieDoGrafico &serie : dados.series)
        acrescentaSerie(barras, serie, dados.meses);
    grafico->addSeries(barras);

    // Short labels: thirteen of them share the chart's width.
    auto *eixoMeses = new QBarCategoryAxis;
    for (const QDate &mes : dados.meses)
        eixoMeses->append(mes.toString(QStringLiteral("MM/yy")));
    grafico->addAxis(eixoMeses, Qt::AlignBottom);
    QCategoryAxis *eixoValores = eixoEmReais(maiorMes(dados));
    grafico->addAxis(eixoValores, Qt::AlignLeft);
    barras->attachAxis(eixoMeses);
    barras->attachAxis(eixoValores);
    if (dados.orcamentoTotal > 0) {
        QLineSeries *linha = linhaDoOrcamento(dados.orcamentoTotal, dados.meses.size());
        grafico->addSeries(linha);
        linha->attachAxis(eixoMeses);
        linha->attachAxis(eixoValores);
    }
    troca(grafico);
}

void GraficoRelatorio::mostraVazio(const QString &explicacao)
{
    auto *grafico = new QChart;
    grafico->setTitle(explicacao);
    troca(grafico);
}

// The scene would hide any tooltip, the segments having none of their own.
bool GraficoRelatorio::viewportEvent(QEvent *evento)
{
    if (evento->type() != QEvent::ToolTip || m_dica.isEmpty())
        return QChartView::viewportEvent(evento);
    QToolTip::showText(static_cast<QHelpEvent *>(evento)->globalPos(), m_dica, this);
    return true;
}

// The view hands the previous chart back instead of deleting it.
void GraficoRelatorio::troca(QChart *grafico)
{
    QChart *anterior = chart();
    setChart(grafico);
    delete anterior;
}

void GraficoRelatorio::acrescentaSerie(QAbstractBarSeries *barras, const SerieDoGrafico &serie,
                                       const QVector<QDate> &meses)
{
    auto *conjunto = new QBarSet(serie.nome);
    for (double valor : serie.porMes)
        conjunto->append(valor);
    connect(conjunto, &QBarSet::hovered, this, [this, serie, meses](bool dentro, int mes) {
        m_dica = dentro ? dica(serie, meses.at(mes), serie.porMes.at(mes)) : QString();
        if (m_dica.isEmpty())
            QToolTip::hideText();
    });
    if (serie.id != SerieDoGrafico::outros) {
        connect(conjunto, &QBarSet::clicked, this, [this, serie](int mes) {
            emit segmentoClicado(serie.id, serie.nome, serie.porMes.size() - 1 - mes);
        });
    }
    barras->append(conjunto);
}
