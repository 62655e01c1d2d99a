#include "statements/leitorcsvbanco.h"

#include "statements/data.h"
#include "statements/layoutextrato.h"
#include "statements/naogastos.h"
#include "statements/parcela.h"
#include "statements/textoextrato.h"

namespace {

// What the columns of gastos hold.
const int maiorFornecedor = 255;
const int maiorDescricao = 1000;

QStringList campos(const QString &linha, const LayoutExtrato &layout)
{
    return camposDaLinha(linha, layout.separador, Aspas::Protegem);
}

QStringList semVaziosNoFim(QStringList lista)
{
    while (!lista.isEmpty() && lista.last().isEmpty())
        lista.removeLast();
    return lista;
}

// The first of the columns that is not empty.
QString primeiro(const QStringList &campos, const QVector<int> &colunas)
{
    for (int c : colunas) {
        if (!campos.value(c).isEmpty())
            return campos.value(c);
    }
    return QString();
}

QString juntos(const QStringList &campos, const QVector<int> &colunas)
{
    QStringList partes;
    for (int c : colunas) {
        if (!campos.value(c).isEmpty() && !partes.contains(campos.value(c)))
            partes << campos.value(c);
    }
    return partes.join(QStringLiteral(" - "));
}

QStringList textos(const QStringList &campos, const ColunasExtrato &c)
{
    QStringList lista;
    for (int coluna : c.fornecedor + c.descricao)
        lista << campos.value(coluna);
    return lista;
}

int colunasNecessarias(const ColunasExtrato &c)
{
    int maior = qMax(qMax(c.data, c.valor), qMax(qMax(c.entrada, c.saida), c.identificador));
    for (int f : c.fornecedor + c.descricao)
        maior = qMax(maior, f);
    return maior + 1;
}

// An empty pattern, which would match everything, stands for no pattern.
bool casa(const QRegularExpression &padrao, const QString &texto)
{
    return !padrao.pattern().isEmpty() && padrao.match(texto).hasMatch();
}

// The shop, without the instalment the text names (which its own column
// decides where the layout has one), cut to what gastos holds: the whole
// text stays in the description.
void fornecedorEParcela(const QStringList &campos, const LayoutExtrato &layout, LinhaExtrato *linha)
{
    const QString texto = primeiro(campos, layout.colunas.fornecedor);
    QString fornecedor = casa(layout.fornecedorNoTexto, texto)
                             ? layout.fornecedorNoTexto.match(texto).captured(QStringLiteral("f")).trimmed()
                             : texto;
    const Parcela parcela = layout.colunaParcela >= 0 ? parcelaNaColuna(campos.value(layout.colunaParcela))
                                                      : parcelaNoTexto(fornecedor, layout.formasDeParcela, &fornecedor);
    linha->fornecedor = fornecedor.left(maiorFornecedor);
    // Purchases are paid in instalments on cards.
    if (!parcela.ehParcela() || !linha->doCartao)
        return;
    linha->parcela = parcela.numero;
    linha->parcelas = parcela.total;
    // Instalment n of a purchase dated on every instalment is billed n - 1 months after it.
    if (layout.dataDaCompra) {
        linha->dataDaCompra = linha->data;
        linha->data = linha->data.addMonths(parcela.numero - 1);
    }
}

// The file's own amounts decide between the two notations its bank has used.
NotacaoValor notacaoDoArquivo(const QStringList &linhas, int cabecalho, const LayoutExtrato &layout)
{
    if (!layout.notacaoPeloArquivo)
        return layout.notacao;
    for (int n = cabecalho + 1; n < linhas.size(); ++n) {
        if (escritoComVirgula(campos(linhas.at(n), layout).value(layout.colunas.valor)))
            return NotacaoValor::VirgulaDecimal;
    }
    return NotacaoValor::PontoDecimal;
}

// The expense in cents, money out positive.
std::optional<qint64> despesa(const QStringList &campos, const LayoutExtrato &layout, NotacaoValor notacao)
{
    const ColunasExtrato &c = layout.colunas;
    if (c.valor >= 0) {
        const std::optional<qint64> valor = leCentavos(campos.value(c.valor), notacao);
        return valor && layout.sinal == Sinal::SaidaNegativa ? std::optional<qint64>(-*valor) : valor;
    }
    const QString entrada = campos.value(c.entrada), saida = campos.value(c.saida);
    const std::optional<qint64> entrou = entrada.isEmpty() ? 0 : leCentavos(entrada, notacao);
    const std::optional<qint64> saiu = saida.isEmpty() ? 0 : leCentavos(saida, notacao);
    if ((entrada.isEmpty() && saida.isEmpty()) || !entrou || !saiu)
        return std::nullopt;
    return qAbs(*saiu) - qAbs(*entrou);
}

class LeitorCsv
{
public:
    LeitorCsv(const QStringList &linhas, int cabecalho, const LayoutExtrato &layout)
        : m_linhas(linhas), m_cabecalho(cabecalho), m_layout(layout)
        , m_notacao(notacaoDoArquivo(linhas, cabecalho, layout))
    {
        m_leitura.layout = layout.nome;
    }

    LeituraExtrato le();

private:
    bool leLinha(int n);
    bool erro(int n, const QString &oQue, const QString &texto, const QString &esperado = QString());

    const QStringList &m_linhas;
    const int m_cabecalho;
    const LayoutExtrato &m_layout;
    const NotacaoValor m_notacao;
    LeituraExtrato m_leitura;
};

LeituraExtrato LeitorCsv::le()
{
    const int maximo = maximoDaLinhaDoLayout(m_layout);
    for (int n = m_cabecalho + 1; n < m_linhas.size(); ++n) {
        if (longaDemais(m_linhas.at(n), maximo)) {
            erro(n, QStringLiteral("a linha"), m_linhas.at(n),
                 QStringLiteral(" Ela passa de %1 caracteres, mais do que um gasto pode guardar.").arg(maximo));
            break;
        }
        if (casa(m_layout.fim, m_linhas.at(n)) || !leLinha(n))
            break;
    }
    if (m_leitura.erro.isEmpty() && m_leitura.linhas.isEmpty())
        m_leitura.erro = QStringLiteral("O arquivo tem o cabeçalho do layout %1, mas nenhum lançamento.").arg(m_layout.nome);
    if (!m_leitura.erro.isEmpty())
        m_leitura.linhas.clear();
    return m_leitura;
}

// False after an error.
bool LeitorCsv::leLinha(int n)
{
    const QString &texto = m_linhas.at(n);
    if (texto.trimmed().isEmpty())
        return true;
    const ColunasExtrato &c = m_layout.colunas;
    const QStringList campos = ::campos(texto, m_layout);
    if (m_layout.continuacoes && campos.value(c.data).isEmpty() && !m_leitura.linhas.isEmpty()) {
        QStringList resto = campos;
        resto.removeAll(QString());
        QString &descricao = m_leitura.linhas.last().descricao;
        descricao += QStringLiteral(" - ") + resto.join(QLatin1Char(' '));
        return descricao.size() <= maiorDescricao || erro(n, QStringLiteral("a descrição"), descricao);
    }
    if (campos.size() < colunasNecessarias(c))
        return erro(n, QStringLiteral("a linha"), texto);
    LinhaExtrato linha;
    linha.doCartao = m_layout.sinal == Sinal::SaidaPositiva;
    linha.descricao = juntos(campos, c.descricao);
    linha.idBanco = campos.value(c.identificador);
    linha.conta = m_layout.nome;
    linha.dataEscrita = campos.at(c.data);
    linha.valorEscrito = c.valor >= 0 ? campos.value(c.valor) : campos.value(c.saida) + campos.value(c.entrada);
    linha.data = leData(linha.dataEscrita, m_layout.formatoData);
    fornecedorEParcela(campos, m_layout, &linha);
    const std::optional<qint64> centavos = despesa(campos, m_layout, m_notacao);
    linha.centavos = centavos.value_or(0);
    linha.natureza = casa(m_layout.naoLancamento, primeiro(campos, c.fornecedor))
                         ? Natureza::NaoLancamento
                         : naturezaDaLinha(textos(campos, c), linha.centavos, linha.doCartao);
    // A balance line is shown as the file has it, read or not; everything
    // else is stored somewhere.
    if (linha.natureza != Natureza::NaoLancamento) {
        if (!linha.data.isValid())
            return erro(n, QStringLiteral("a data"), linha.dataEscrita,
                        QStringLiteral(" Esperava uma data %1 entre %2 e %3.")
                            .arg(m_layout.formatoData).arg(primeiroAno).arg(ultimoAno));
        if (!centavos)
            return erro(n, QStringLiteral("o valor"), texto);
        if (linha.descricao.size() > maiorDescricao)
            return erro(n, QStringLiteral("a descrição"), linha.descricao);
    }
    m_leitura.linhas << linha;
    return true;
}

bool LeitorCsv::erro(int n, const QString &oQue, const QString &texto, const QString &esperado)
{
    m_leitura.erro = QStringLiteral("Linha %1: %2 \"%3\" não segue o layout %4.%5")
                         .arg(QString::number(n + 1), oQue, trecho(texto), m_layout.nome, esperado);
    return false;
}

} // namespace

bool ehCabecalho(const QString &linha, const LayoutExtrato &layout)
{
    const QStringList nomes = semVaziosNoFim(campos(linha, layout));
    if (nomes.size() != layout.cabecalho.size())
        return false;
    for (int i = 0; i < nomes.size(); ++i) {
        if (nomes.at(i).compare(layout.cabecalho.at(i), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

LeituraExtrato leCsvDoBanco(const QStringList &linhas, int cabecalho, const LayoutExtrato &layout)
{
    return LeitorCsv(linhas, cabecalho, layout).le();
}
