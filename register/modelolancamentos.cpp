#include "register/modelolancamentos.h"

#include "import/historicodeimportacoes.h"
#include "messages/formatacao.h"
#include "register/tabelalancamentos.h"
#include "statements/data.h"

namespace {

// A few screenfuls: scrolling reads the next page well before the end.
const int porPagina = 200;

const char *const rotulos[colunasDeLancamento] = {"Data", "Fornecedor", "Descrição", "Categoria", "Valor", "Conta",
                                                   "Importação"};

QString texto(const LinhaLancamento &linha, ColunaLancamento coluna)
{
    switch (coluna) {
    case ColunaLancamento::Data:
        return dataNaGrade(linha.data);
    case ColunaLancamento::Fornecedor:
        return linha.fornecedor;
    case ColunaLancamento::Descricao:
        return linha.descricao;
    case ColunaLancamento::Categoria:
        return linha.categoria;
    case ColunaLancamento::Valor:
        return centavosEmReais(linha.centavos);
    case ColunaLancamento::Conta:
        return linha.conta;
    case ColunaLancamento::Importacao:
        return linha.arquivo;
    }
    return QString();
}

// Long texts are cut in their cells; the rest is said on hover.
QString dica(const LinhaLancamento &linha, ColunaLancamento coluna)
{
    switch (coluna) {
    case ColunaLancamento::Fornecedor:
    case ColunaLancamento::Descricao:
        return texto(linha, coluna);
    case ColunaLancamento::Valor:
        return linha.parte ? QStringLiteral("Parte de um gasto dividido") : QString();
    case ColunaLancamento::Importacao:
        return linha.arquivo.isEmpty() ? QString()
                                       : QStringLiteral("Importado em %1").arg(HistoricoDeImportacoes::quando(linha.importadoEm));
    default:
        return QString();
    }
}

} // namespace

ModeloLancamentos::ModeloLancamentos(QObject *parent)
    : QAbstractTableModel(parent)
{
}

ModeloLancamentos::~ModeloLancamentos() = default;

Resultado<> ModeloLancamentos::listar(const FiltroLancamentos &filtro)
{
    const Resultado<QVector<LinhaLancamento>> primeira = TabelaLancamentos::pagina(filtro, 0, porPagina);
    if (!primeira.ok())
        return primeira.motivo();
    beginResetModel();
    m_filtro = filtro;
    m_linhas = primeira.valor();
    m_haMais = m_linhas.size() == porPagina;
    endResetModel();
    return Feito();
}

int ModeloLancamentos::linhaDoGasto(int idGasto) const
{
    for (int linha = 0; linha < m_linhas.size(); ++linha) {
        if (m_linhas.at(linha).idGasto == idGasto)
            return linha;
    }
    return -1;
}

Resultado<> ModeloLancamentos::atualizar(int linha)
{
    const Resultado<std::optional<LinhaLancamento>> lida = TabelaLancamentos::linha(m_linhas.at(linha).idGasto);
    if (!lida.ok())
        return lida.motivo();
    if (!lida.valor())
        return listar(m_filtro);
    m_linhas[linha] = *lida.valor();
    emit dataChanged(index(linha, 0), index(linha, colunasDeLancamento - 1));
    return Feito();
}

int ModeloLancamentos::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_linhas.size();
}

int ModeloLancamentos::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : colunasDeLancamento;
}

QVariant ModeloLancamentos::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const LinhaLancamento &linha = m_linhas.at(index.row());
    const auto coluna = ColunaLancamento(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return texto(linha, coluna);
    case Qt::ToolTipRole:
        return dica(linha, coluna);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignVCenter | (coluna == ColunaLancamento::Valor ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return QVariant();
    }
}

QVariant ModeloLancamentos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString::fromUtf8(rotulos[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ModeloLancamentos::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_haMais;
}

void ModeloLancamentos::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    // Stops here on failure; a new listing tries again.
    m_haMais = false;
    const Resultado<QVector<LinhaLancamento>> pagina = TabelaLancamentos::pagina(m_filtro, m_linhas.size(), porPagina);
    if (!pagina.ok()) {
        emit falhou(pagina.motivo());
        return;
    }
    if (pagina.valor().isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_linhas.size(), m_linhas.size() + pagina.valor().size() - 1);
    m_linhas << pagina.valor();
    m_haMais = pagina.valor().size() == porPagina;
    endInsertRows();
}

void ModeloLancamentos::sort(int column, Qt::SortOrder order)
{
    // The view asks for the order it already shows as soon as sorting is on.
    if (ColunaLancamento(column) == m_filtro.ordem && order == m_filtro.sentido)
        return;
    FiltroLancamentos filtro = m_filtro;
    filtro.ordem = ColunaLancamento(column);
    filtro.sentido = order;
    const Resultado<> listado = listar(filtro);
    if (!listado.ok())
        emit falhou(listado.motivo());
}
