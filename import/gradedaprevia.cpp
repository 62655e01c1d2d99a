#include "import/gradedaprevia.h"

#include "statements/data.h"
#include "statements/leitorproprio.h"
#include "statements/naogastos.h"
#include "statements/valor.h"

#include <QSignalBlocker>
#include <QTableWidget>

namespace {

const int colunas = 4;

// What column 0's item carries besides its text: the bank's id, the rest
// the file said of the row in one value (a preview of many rows is read
// whole at every marking), and the user's choice of where it goes.
enum Papel { IdBanco = Qt::UserRole, DoArquivo, DestinoDaLinha };

struct Origem
{
    QString conta;
    Natureza natureza = Natureza::Gasto;
    int carga = 0;
    int parcela = 0;
    int parcelas = 0;
    QDate dataDaCompra;
};

} // namespace

Q_DECLARE_METATYPE(Origem)

namespace {

using GradeDaPrevia::Destino;

Origem origemDoItem(const QTableWidgetItem *item)
{
    return item ? item->data(DoArquivo).value<Origem>() : Origem();
}

Destino destinoDoItem(const QTableWidgetItem *item)
{
    return item ? Destino(item->data(DestinoDaLinha).toInt()) : Destino::Gasto;
}

// What the tooltip says of a row that does not go in as an expense, or
// that the user turned into one.
QString aviso(Natureza natureza, Destino destino)
{
    static const QHash<int, QString> destinos {
        {int(Destino::Gasto), QStringLiteral("Será importada como gasto.")},
        {int(Destino::Entrada), QStringLiteral("Vai para as entradas.")},
        {int(Destino::Transferencia), QStringLiteral("Vai para as transferências entre contas.")},
        {int(Destino::DeFora), QStringLiteral("Fica de fora.")},
    };
    if (natureza == Natureza::Gasto && destino == Destino::Gasto)
        return QString();
    return (oQueE(natureza) + QLatin1Char(' ') + destinos.value(int(destino))
            + QStringLiteral(" Para mudar, clique com o botão direito.")).trimmed();
}

// Puts `linhas` new rows above those already in the grid, preencheLinha(linha)
// filling each, and tells the views and the grid's listeners once for all
// the cells rather than once per cell: a statement has tens of thousands.
void preencheEmBloco(QTableWidget *grade, int linhas, const std::function<void(int)> &preencheLinha)
{
    grade->setColumnCount(colunas);
    grade->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Nome"), QStringLiteral("Valor"),
                                      QStringLiteral("Descrição")});
    // One block: inserting a row at a time at the top would move every row
    // below it each time.
    QAbstractItemModel *modelo = grade->model();
    modelo->insertRows(0, linhas);
    {
        const QSignalBlocker semAvisos(modelo);
        for (int linha = 0; linha < linhas; ++linha)
            preencheLinha(linha);
    }
    if (linhas > 0)
        emit modelo->dataChanged(modelo->index(0, 0), modelo->index(linhas - 1, colunas - 1));
}

QString textoDaCelula(const QTableWidget *grade, int linha, int coluna)
{
    const QTableWidgetItem *item = grade->item(linha, coluna);
    const QString texto = item ? item->text() : QString();
    return texto.isNull() ? QStringLiteral("") : texto;
}

} // namespace

namespace GradeDaPrevia {

Destino destinoDe(Natureza natureza)
{
    switch (natureza) {
    case Natureza::Entrada:
        return Destino::Entrada;
    case Natureza::PagamentoDeFatura:
        return Destino::Transferencia;
    case Natureza::NaoLancamento:
        return Destino::DeFora;
    case Natureza::Gasto:
        break;
    }
    return Destino::Gasto;
}

void acrescentaLinhas(QTableWidget *grade, const QVector<LinhaExtrato> &linhas, int carga)
{
    preencheEmBloco(grade, linhas.size(), [&](int n) {
        const LinhaExtrato &l = linhas.at(n);
        auto *data = new QTableWidgetItem(l.data.isValid() ? dataNaGrade(l.data) : l.dataEscrita);
        data->setData(IdBanco, l.idBanco);
        data->setData(DoArquivo,
                      QVariant::fromValue(Origem {l.conta, l.natureza, carga, l.parcela, l.parcelas, l.dataDaCompra}));
        data->setData(DestinoDaLinha, int(GradeDaPrevia::destinoDe(l.natureza)));
        grade->setItem(n, 0, data);
        grade->setItem(n, 1, new QTableWidgetItem(l.fornecedor));
        const bool lido = l.natureza != Natureza::NaoLancamento || l.data.isValid();
        grade->setItem(n, 2, new QTableWidgetItem(lido ? valorNaGrade(l.centavos) : l.valorEscrito));
        grade->setItem(n, 3, new QTableWidgetItem(l.descricao));
    });
}

void acrescentaCelulas(QTableWidget *grade, const LeituraPropria &leitura, int carga)
{
    const int malformada = leitura.primeiraMalformada < 0 ? leitura.celulas.size() : leitura.primeiraMalformada;
    preencheEmBloco(grade, leitura.celulas.size(), [&](int n) {
        const QStringList &celulas = leitura.celulas.at(n);
        for (int c = 0; c < celulas.size(); ++c) {
            auto *item = new QTableWidgetItem(celulas.at(c));
            if (n >= malformada)
                item->setBackground(QBrush(Qt::red, Qt::SolidPattern));
            grade->setItem(n, c, item);
        }
        if (QTableWidgetItem *data = grade->item(n, 0))
            data->setData(DoArquivo, QVariant::fromValue(Origem {{}, Natureza::Gasto, carga, 0, 0, {}}));
    });
}

Linha linha(const QTableWidget *grade, int linha)
{
    Linha lida;
    const QDate data = leData(textoDaCelula(grade, linha, 0), QStringLiteral("dd/MM/yyyy"));
    if (data.isValid())
        lida.data = data;
    lida.centavos = leCentavos(textoDaCelula(grade, linha, 2), NotacaoValor::Brasileira);
    lida.fornecedor = textoDaCelula(grade, linha, 1);
    lida.descricao = textoDaCelula(grade, linha, 3);
    const QTableWidgetItem *item = grade->item(linha, 0);
    const Origem origem = origemDoItem(item);
    lida.idBanco = item ? item->data(IdBanco).toString() : QString();
    lida.conta = origem.conta;
    lida.natureza = origem.natureza;
    lida.destino = destinoDoItem(item);
    lida.carga = origem.carga;
    lida.parcela = origem.parcela;
    lida.parcelas = origem.parcelas;
    lida.dataDaCompra = origem.dataDaCompra;
    return lida;
}

void defineDestino(QTableWidget *grade, int linha, Destino destino)
{
    if (QTableWidgetItem *item = grade->item(linha, 0))
        item->setData(DestinoDaLinha, int(destino));
}

QStringList celulas(const QTableWidget *grade, int linha)
{
    QStringList texto;
    for (int coluna = 0; coluna < colunas; ++coluna)
        texto << textoDaCelula(grade, linha, coluna);
    return texto;
}

void mostraAvisos(QTableWidget *grade, const QHash<int, QString> &repetidas)
{
    // Nothing grey before and nothing to grey now: a statement of new
    // purchases, the usual case, costs no pass over its cells.
    const char *const temAvisos = "finaraTemAvisos";
    bool algumNaoGasto = false;
    for (int n = 0; n < grade->rowCount() && !algumNaoGasto; ++n) {
        const QTableWidgetItem *item = grade->item(n, 0);
        algumNaoGasto = origemDoItem(item).natureza != Natureza::Gasto || destinoDoItem(item) != Destino::Gasto;
    }
    if (repetidas.isEmpty() && !algumNaoGasto && !grade->property(temAvisos).toBool())
        return;
    grade->setProperty(temAvisos, !repetidas.isEmpty() || algumNaoGasto);
    const QSignalBlocker bloqueio(grade);
    QAbstractItemModel *modelo = grade->model();
    const QVariant cinza = grade->palette().brush(QPalette::Disabled, QPalette::Text);
    {
        const QSignalBlocker semAvisos(modelo);
        for (int n = 0; n < grade->rowCount(); ++n) {
            const QTableWidgetItem *data = grade->item(n, 0);
            const Natureza natureza = origemDoItem(data).natureza;
            const Destino destino = destinoDoItem(data);
            const QString oQue = aviso(natureza, destino);
            const QString repetida = repetidas.value(n);
            const QString texto = oQue.isEmpty() || repetida.isEmpty() ? oQue + repetida
                                                                       : oQue + QLatin1Char('\n') + repetida;
            const bool apagada = destino != Destino::Gasto || repetidas.contains(n);
            for (int coluna = 0; coluna < grade->columnCount(); ++coluna) {
                QTableWidgetItem *item = grade->item(n, coluna);
                if (!item || (item->toolTip() == texto && item->data(Qt::ForegroundRole).isValid() == apagada))
                    continue;
                item->setToolTip(texto);
                item->setData(Qt::ForegroundRole, apagada ? cinza : QVariant());
            }
        }
    }
    if (grade->rowCount() > 0)
        emit modelo->dataChanged(modelo->index(0, 0), modelo->index(grade->rowCount() - 1, grade->columnCount() - 1));
}

} // namespace GradeDaPrevia
