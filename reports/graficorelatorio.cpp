#include "reports/graficorelatorio.h"

#include "reports/agrupamentografico.h"
#include "messages/formatacao.h"

#include <QFontMetrics>
#include <QGraphicsTextItem>
#include <QHelpEvent>
#include <QLocale>
#include <QToolTip>
#include <QtMath>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>

#include <cmath>

using namespace QtCharts;

namespace {

// A round step (1, 2, 2.5 or 5 times a power of ten) giving about marcas marks up to maximo.
double passoDoEixo(double maximo, int marcas)
{
    const double bruto = maximo / marcas;
    const double grandeza = std::pow(10.0, std::floor(std::log10(bruto)));
    for (double fator : {1.0, 2.0, 2.5, 5.0}) {
        if (fator * grandeza >= bruto)
            return fator * grandeza;
    }
    return 10 * grandeza;
}

// "R$ 500", "R$ 2,5 mil", "R$ 1,2 mi": short, so that the axis leaves the
// bars their width in a narrow window; a segment's tooltip has the cents.
QString reaisResumidos(double valor)
{
    static const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    if (valor >= 1e6)
        return QStringLiteral("R$ %1 mi").arg(brasil.toString(valor / 1e6, 'g', 12));
    if (valor >= 1e3)
        return QStringLiteral("R$ %1 mil").arg(brasil.toString(valor / 1e3, 'g', 12));
    return QStringLiteral("R$ %1").arg(brasil.toString(valor, 'g', 12));
}

// A value axis labelled in reais (QValueAxis only knows printf formats), with
// about marcas round marks up to maximo.
void marcaEmReais(QCategoryAxis *eixo, double maximo, int marcas)
{
    for (const QString &rotulo : eixo->categoriesLabels())
        eixo->remove(rotulo);
    const double passo = passoDoEixo(maximo > 0 ? maximo : 1, marcas);
    const int n = qMax(1, int(std::ceil(maximo / passo - 1e-9)));
    for (int i = 1; i <= n; ++i)
        eixo->append(reaisResumidos(i * passo), i * passo);
    eixo->setRange(0, n * passo);
}

// Cents as the chart's scale of reais.
double emReaisNoGrafico(qint64 centavos)
{
    return centavos / 100.0;
}

double maiorMes(const DadosDoGrafico &dados)
{
    qint64 maior = dados.orcamentoTotal;
    for (const qint64 entrada : dados.entradas)
        maior = qMax(maior, entrada);
    for (int mes = 0; mes < dados.meses.size(); ++mes) {
        qint64 soma = 0;
        for (const SerieDoGrafico &serie : dados.series)
            soma += qMax<qint64>(0, serie.porMes.at(mes));
        maior = qMax(maior, soma);
    }
    return emReaisNoGrafico(maior);
}

// Across the whole width: the bars stand at 0, 1, ... and are one wide.
QLineSeries *linhaDoOrcamento(qint64 total, int meses)
{
    auto *linha = new QLineSeries;
    linha->setName(QStringLiteral("Orçamento total (%1)").arg(centavosEmReais(total)));
    linha->append(-0.5, emReaisNoGrafico(total));
    linha->append(meses - 0.5, emReaisNoGrafico(total));
    QPen caneta(Qt::darkRed, 2, Qt::DashLine);
    linha->setPen(caneta);
    return linha;
}

// The month's income, a point over each bar.
QLineSeries *linhaDasEntradas(const QVector<qint64> &entradas)
{
    auto *linha = new QLineSeries;
    linha->setName(QStringLiteral("Entradas"));
    for (int mes = 0; mes < entradas.size(); ++mes)
        linha->append(mes, emReaisNoGrafico(entradas.at(mes)));
    linha->setPen(QPen(QColor(46, 125, 50), 2));
    linha->setPointsVisible(true);
    return linha;
}

// "■ Mercado" in rich text, the mark in the series' colour; never broken
// across lines.
QString entradaDaLegenda(const QString &marca, const QColor &cor, const QString &nome)
{
    return QStringLiteral("<span style=\"color:%1\">%2</span>&nbsp;%3")
        .arg(cor.name(), marca, nome.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
}

// Each series' colour and name, as rich text that wraps between entries.
// Qt Charts' own legend keeps to one line and, in a narrow window, cuts
// every name to "...".
QString textoDaLegenda(const QChart *grafico)
{
    QStringList entradas;
    for (QAbstractSeries *serie : grafico->series()) {
        if (auto *barras = qobject_cast<QAbstractBarSeries *>(serie)) {
            for (QBarSet *conjunto : barras->barSets())
                entradas << entradaDaLegenda(QStringLiteral("■"), conjunto->color(), conjunto->label());
        } else if (auto *linha = qobject_cast<QLineSeries *>(serie)) {
            const QString marca = linha->pen().style() == Qt::SolidLine ? QStringLiteral("━━") : QStringLiteral("╍╍");
            entradas << entradaDaLegenda(marca, linha->pen().color(), linha->name());
        }
    }
    return entradas.join(QStringLiteral(" &nbsp; "));
}

// What the chart lays out again at every size: the legend under the plot,
// the month labels upright when the bars are too narrow for them side by
// side, and as many value marks as the plot's height has room for (Qt
// Charts cuts a label that has less room than its text to "..."). The
// legend and the months follow the chart's width alone, the marks the
// plot's height, which the marks themselves do not change: laying out
// again settles at once.
struct Arranjo
{
    QChart *grafico;
    QBarCategoryAxis *meses;
    QCategoryAxis *valores;
    QGraphicsTextItem *legenda;
    double maximo;
    int marcas = 0;
};

const int margem = 4;
// The room a month label takes beyond its text, measured on Qt Charts 5.15.
const int folgaDoRotulo = 16;
// As wide as the value axis' widest label.
const QString rotuloDeValorLargo = QStringLiteral("R$ 888,8 mil");

void arrumaLegenda(Arranjo &a)
{
    const QSizeF tamanho = a.grafico->size();
    a.legenda->setTextWidth(tamanho.width() - 2 * margem);
    // At most a third of the height: the view never lets its minimum height
    // shrink again, and a chart laid out before it has its width would wrap
    // the legend into a column that kept the report's grid small for good.
    const int altura = qMin(qCeil(a.legenda->boundingRect().height()), int(tamanho.height() / 3));
    a.legenda->setPos(margem, tamanho.height() - margem - altura);
    // The top margin has room for half the highest value label.
    const QMargins margens(margem, 10, margem, altura + 2 * margem);
    if (a.grafico->margins() != margens)
        a.grafico->setMargins(margens);
}

void giraMeses(Arranjo &a)
{
    const QFontMetrics medida(a.meses->labelsFont());
    int maior = 0;
    for (const QString &rotulo : a.meses->categories())
        maior = qMax(maior, medida.horizontalAdvance(rotulo));
    const qreal paraAsBarras =
        a.grafico->size().width() - 2 * margem - medida.horizontalAdvance(rotuloDeValorLargo) - folgaDoRotulo;
    const int angulo = paraAsBarras >= a.meses->count() * (maior + folgaDoRotulo) ? 0 : -90;
    if (a.meses->labelsAngle() != angulo)
        a.meses->setLabelsAngle(angulo);
}

void marcaValores(Arranjo &a, const QRectF &area)
{
    // Two lines per mark keep the labels apart.
    const int cabem = int(area.height() / (2 * QFontMetrics(a.valores->labelsFont()).height()));
    const int marcas = qBound(1, cabem, 5);
    if (marcas != a.marcas)
        marcaEmReais(a.valores, a.maximo, a.marcas = marcas);
}

// "Mercado — 03/2025: R$ 1.446,90"
QString dica(const SerieDoGrafico &serie, const QDate &mes, qint64 centavos)
{
    return QStringLiteral("%1 — %2: %3").arg(serie.nome, mes.toString(QStringLiteral("MM/yyyy")),
                                             centavosEmReais(centavos));
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
    grafico->setBackgroundRoundness(0);
    grafico->legend()->hide();
    auto *barras = new QStackedBarSeries;
    for (const SerieDoGrafico &serie : dados.series)
        acrescentaSerie(barras, serie, dados.meses);
    grafico->addSeries(barras);

    // Short labels: thirteen of them share the chart's width.
    auto *eixoMeses = new QBarCategoryAxis;
    for (const QDate &mes : dados.meses)
        eixoMeses->append(mes.toString(QStringLiteral("MM/yy")));
    grafico->addAxis(eixoMeses, Qt::AlignBottom);
    auto *eixoValores = new QCategoryAxis;
    eixoValores->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    eixoValores->setStartValue(0);
    const double maximo = maiorMes(dados);
    marcaEmReais(eixoValores, maximo, 5);
    grafico->addAxis(eixoValores, Qt::AlignLeft);
    barras->attachAxis(eixoMeses);
    barras->attachAxis(eixoValores);
    QVector<QLineSeries *> linhas;
    if (dados.orcamentoTotal > 0)
        linhas << linhaDoOrcamento(dados.orcamentoTotal, dados.meses.size());
    if (!dados.entradas.isEmpty()) {
        linhas << linhaDasEntradas(dados.entradas);
        connect(linhas.last(), &QLineSeries::hovered, this, [this, dados](const QPointF &ponto, bool dentro) {
            const int mes = qBound(0, qRound(ponto.x()), dados.meses.size() - 1);
            m_dica = dentro ? QStringLiteral("Entradas — %1: %2")
                                  .arg(dados.meses.at(mes).toString(QStringLiteral("MM/yyyy")),
                                       centavosEmReais(dados.entradas.at(mes)))
                            : QString();
        });
    }
    for (QLineSeries *linha : qAsConst(linhas)) {
        grafico->addSeries(linha);
        linha->attachAxis(eixoMeses);
        linha->attachAxis(eixoValores);
    }
    auto *legenda = new QGraphicsTextItem(grafico);
    legenda->setFont(grafico->legend()->font());
    legenda->setHtml(QStringLiteral("<div align=\"center\">%1</div>").arg(textoDaLegenda(grafico)));
    Arranjo arranjo {grafico, eixoMeses, eixoValores, legenda, maximo};
    connect(grafico, &QChart::plotAreaChanged, legenda, [arranjo](const QRectF &area) mutable {
        arrumaLegenda(arranjo);
        giraMeses(arranjo);
        marcaValores(arranjo, area);
    });
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
    for (const qint64 centavos : serie.porMes)
        conjunto->append(emReaisNoGrafico(centavos));
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
