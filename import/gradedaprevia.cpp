#include "import/gradedaprevia.h"

#include "statements/data.h"
#include "statements/leitorproprio.h"
#include "statements/naogastos.h"
#include "statements/valor.h"

#include <QSignalBlocker>
#include <QTableWidget>

namespace {

const int colunas = 4;

// What column 0's item carries besides its text.
enum Papel { IdBanco = Qt::UserRole, Conta, NaturezaDaLinha, DestinoDaLinha, Carga, Parcela, Parcelas, DataDaCompra };

using GradeDaPrevia::Destino;

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
        data->setData(Conta, l.conta);
        data->setData(NaturezaDaLinha, int(l.natureza));
        data->setData(DestinoDaLinha, int(GradeDaPrevia::destinoDe(l.natureza)));
        data->setData(Carga, carga);
        data->setData(Parcela, l.parcela);
        data->setData(Parcelas, l.parcelas);
        data->setData(DataDaCompra, l.dataDaCompra);
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
            data->setData(Carga, carga);
    });
}

Linha linha(const QTableWidget *grade, int linha)
{
    Linha lida;
    const QStringList texto = celulas(grade, linha);
    const QDate data = leData(texto.at(0), QStringLiteral("dd/MM/yyyy"));
    if (data.isValid())
        lida.data = data;
    lida.centavos = leCentavos(texto.at(2), NotacaoValor::Brasileira);
    lida.fornecedor = texto.at(1);
    lida.descricao = texto.at(3);
    if (const QTableWidgetItem *item = grade->item(linha, 0)) {
        lida.idBanco = item->data(IdBanco).toString();
        lida.conta = item->data(Conta).toString();
        lida.natureza = Natureza(item->data(NaturezaDaLinha).toInt());
        lida.destino = destinoDoItem(item);
        lida.carga = item->data(Carga).toInt();
        lida.parcela = item->data(Parcela).toInt();
        lida.parcelas = item->data(Parcelas).toInt();
        lida.dataDaCompra = item->data(DataDaCompra).toDate();
    }
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
        algumNaoGasto = item && (item->data(NaturezaDaLinha).toInt() != int(Natureza::Gasto)
                                 || destinoDoItem(item) != Destino::Gasto);
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
            const auto natureza = Natureza(data ? data->data(NaturezaDaLinha).toInt() : 0);
            const Destino destino = destinoDoItem(data);
            const QString texto = QStringList {aviso(natureza, destino), repetidas.value(n)}.join(QLatin1Char('\n')).trimmed();
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
