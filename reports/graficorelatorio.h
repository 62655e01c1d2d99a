#ifndef GRAFICORELATORIO_H
#define GRAFICORELATORIO_H

#include <QDate>
#include <QVector>
#include <QtCharts/QChartView>

QT_CHARTS_BEGIN_NAMESPACE
class QAbstractBarSeries;
QT_CHARTS_END_NAMESPACE

struct DadosDoGrafico;
struct SerieDoGrafico;

// The report as stacked bars, one per month, oldest on the left, with the
// total budget as a line. Hovering a segment tells its category, month and
// amount; clicking it asks for the expenses behind it.
class GraficoRelatorio final : public QtCharts::QChartView
{
    Q_OBJECT

public:
    explicit GraficoRelatorio(QWidget *parent = nullptr);
    ~GraficoRelatorio() override;

    void mostra(const DadosDoGrafico &dados);
    // An empty chart that says, in one line, why it is empty.
    void mostraVazio(const QString &explicacao);

signals:
    // A category's segment (key 0: "Não Classificado"), mesesAtras months
    // before the current one; "Outros" stands for no single category and
    // asks for nothing.
    void segmentoClicado(int idCategoria, const QString &nome, int mesesAtras);

protected:
    bool viewportEvent(QEvent *evento) override;

private:
    void acrescentaSerie(QtCharts::QAbstractBarSeries *barras, const SerieDoGrafico &serie,
                         const QVector<QDate> &meses);
    void troca(QtCharts::QChart *grafico);

    // What the segment under the mouse shows as its tooltip; empty off them.
    QString m_dica;
};

#endif // GRAFICORELATORIO_H
