#include "statements/leitorofx.h"

#include "statements/data.h"
#include "statements/parcela.h"
#include "statements/naogastos.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

#include <QRegularExpression>

namespace {

// The longest text gastos holds (a description): anything longer is no
// transaction, and is refused before it is copied or decoded.
const int maiorTexto = 1000;
const int maiorFornecedor = 255;
// "&#x0010FFFF;": longer is no entity.
const int maiorEntidade = 12;

const QHash<QString, QString> &entidades()
{
    static const QHash<QString, QString> nomeadas {
        {QStringLiteral("lt"), QStringLiteral("<")}, {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")}, {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QStringLiteral(" ")}, {QStringLiteral("amp"), QStringLiteral("&")}};
    return nomeadas;
}

// "&#233;", "&#x1F389;" or a named one; an empty string when it is none.
QString entidade(const QStringRef &nome)
{
    if (!nome.startsWith(QLatin1Char('#')))
        return entidades().value(nome.toString());
    const bool hexa = nome.size() > 1 && (nome.at(1) == QLatin1Char('x') || nome.at(1) == QLatin1Char('X'));
    bool ok = false;
    const uint codigo = nome.mid(hexa ? 2 : 1).toUInt(&ok, hexa ? 16 : 10);
    if (!ok)
        return QString();
    // A code past Unicode's last is no character: it becomes the replacement one.
    const uint caractere = codigo <= 0x10FFFF ? codigo : 0xFFFD;
    return QString::fromUcs4(&caractere, 1);
}

// The ";" closing an entity that starts at inicio, looked for only as far
// as the longest entity reaches; -1 when there is none.
int fimDaEntidade(const QString &texto, int inicio)
{
    const int limite = qMin(texto.size(), inicio + maiorEntidade);
    for (int i = inicio + 1; i < limite; ++i) {
        if (texto.at(i) == QLatin1Char(';'))
            return i;
    }
    return -1;
}

// One pass, so a text of entities costs as much as any other.
QString semEntidades(const QString &texto)
{
    if (!texto.contains(QLatin1Char('&')))
        return texto;
    QString limpo;
    limpo.reserve(texto.size());
    for (int i = 0; i < texto.size(); ++i) {
        const int fim = texto.at(i) == QLatin1Char('&') ? fimDaEntidade(texto, i) : -1;
        const QString trocada = fim > i ? entidade(texto.midRef(i + 1, fim - i - 1)) : QString();
        if (trocada.isEmpty()) {
            limpo += texto.at(i);
        } else {
            limpo += trocada;
            i = fim;
        }
    }
    return limpo;
}

// YYYYMMDD, alone or with HHMM or HHMMSS, milliseconds and a zone.
bool ehDataOfx(const QString &texto)
{
    static const QRegularExpression forma(QStringLiteral("^\\d{8}(\\d{4}(\\d{2}(\\.\\d{1,3})?)?)?(\\[[^\\]]*\\])?$"));
    return forma.match(texto).hasMatch();
}

// The leaf tags of a transaction, and of the account, that a row needs.
enum Campo { Data, Valor, Id, Nome, Memo, Tipo, Campos };
const QLatin1String nomesDosCampos[Campos] = {QLatin1String("DTPOSTED"), QLatin1String("TRNAMT"),
                                              QLatin1String("FITID"),    QLatin1String("NAME"),
                                              QLatin1String("MEMO"),     QLatin1String("TRNTYPE")};

bool ehMarca(const QStringRef &marca, QLatin1String nome)
{
    return marca.size() == nome.size() && marca.compare(nome, Qt::CaseInsensitive) == 0;
}

// One pass over the tags, without building a tree: the file is a flat list
// of transactions, and the tags around them only tell checking from card
// and name the account.
class LeitorOfx
{
public:
    LeituraExtrato le(const QString &texto);

private:
    void abre(const QStringRef &marca, const QStringRef &valor, int posicao);
    void fecha(const QStringRef &marca);
    void terminaTransacao();
    void erro(const QString &texto) { if (m_leitura.erro.isEmpty()) m_leitura.erro = texto; }
    QString erroNoLancamento(Campo campo, const QString &texto, const QString &esperado) const;
    QString nomeDoLayout() const;

    LeituraExtrato m_leitura;
    QString m_campos[Campos];
    QString m_banco, m_conta;
    const QString *m_texto = nullptr;
    int m_posicoes[Campos] = {}; // where each field's tag stands, to name its line

    bool m_emTransacao = false;
    bool m_naConta = false; // in the statement's own account, not a transfer's other side
    bool m_ofxAberto = false;
    bool m_ofxFechado = false;
    bool m_contaCorrente = false;
    bool m_cartao = false;
    bool m_cartaoAgora = false; // the statement being read is a card's
};

LeituraExtrato LeitorOfx::le(const QString &texto)
{
    m_texto = &texto;
    int inicio = texto.indexOf(QLatin1Char('<'));
    while (inicio >= 0 && m_leitura.erro.isEmpty()) {
        const int fim = texto.indexOf(QLatin1Char('>'), inicio);
        if (fim < 0)
            break;
        const int proxima = texto.indexOf(QLatin1Char('<'), fim);
        int fimDoNome = inicio + 1;
        while (fimDoNome < fim && !texto.at(fimDoNome).isSpace())
            ++fimDoNome;
        const QStringRef marca = texto.midRef(inicio + 1, fimDoNome - inicio - 1);
        if (marca.startsWith(QLatin1Char('/')))
            fecha(marca.mid(1));
        else if (!marca.startsWith(QLatin1Char('?')) && !marca.startsWith(QLatin1Char('!')))
            abre(marca, texto.midRef(fim + 1, proxima < 0 ? -1 : proxima - fim - 1), inicio);
        inicio = proxima;
    }
    if (!m_ofxAberto)
        erro(QStringLiteral("O arquivo não é um OFX: falta a marca <OFX>."));
    if (m_emTransacao || !m_ofxFechado)
        erro(QStringLiteral("O arquivo OFX está incompleto: termina antes de </OFX>. Baixe o extrato de novo."));
    if (m_leitura.linhas.isEmpty())
        erro(QStringLiteral("O arquivo OFX não tem lançamentos (nenhum <STMTTRN>)."));
    if (!m_leitura.erro.isEmpty())
        m_leitura.linhas.clear();
    m_leitura.layout = nomeDoLayout();
    return m_leitura;
}

void LeitorOfx::abre(const QStringRef &marca, const QStringRef &valor, int posicao)
{
    if (m_emTransacao) {
        for (int campo = 0; campo < Campos; ++campo) {
            if (!ehMarca(marca, nomesDosCampos[campo]))
                continue;
            m_posicoes[campo] = posicao;
            // Measured before it is copied: a bad file may hold megabytes here.
            if (valor.size() <= 2 * maiorTexto)
                m_campos[campo] = semEntidades(valor.trimmed().toString());
            if (valor.size() > 2 * maiorTexto || m_campos[campo].size() > maiorTexto)
                erro(erroNoLancamento(Campo(campo), valor.trimmed().left(100).toString(),
                                      QStringLiteral("um texto de até %1 caracteres").arg(maiorTexto)));
            return;
        }
    }
    if (ehMarca(marca, QLatin1String("STMTTRN"))) {
        if (m_emTransacao)
            terminaTransacao();
        for (QString &campo : m_campos)
            campo.clear();
        std::fill(std::begin(m_posicoes), std::end(m_posicoes), posicao);
        m_emTransacao = true;
    } else if (ehMarca(marca, QLatin1String("OFX"))) {
        m_ofxAberto = true;
    } else if (ehMarca(marca, QLatin1String("STMTRS"))) {
        m_contaCorrente = true;
        m_cartaoAgora = false;
        m_banco.clear();
    } else if (ehMarca(marca, QLatin1String("CCSTMTRS"))) {
        m_cartao = m_cartaoAgora = true;
        m_banco.clear();
    } else if (ehMarca(marca, QLatin1String("BANKACCTFROM")) || ehMarca(marca, QLatin1String("CCACCTFROM"))) {
        m_naConta = true;
    } else if (m_naConta && ehMarca(marca, QLatin1String("BANKID"))) {
        m_banco = valor.trimmed().left(maiorFornecedor).toString();
    } else if (m_naConta && ehMarca(marca, QLatin1String("ACCTID"))) {
        m_conta = valor.trimmed().left(maiorFornecedor).toString();
    } else if (ehMarca(marca, QLatin1String("INVSTMTRS"))) {
        erro(QStringLiteral("O arquivo é um extrato de investimentos (OFX de corretora), não de conta corrente "
                            "nem de cartão: as compras e vendas de títulos não são gastos. Nada foi lido."));
    }
}

void LeitorOfx::fecha(const QStringRef &marca)
{
    if (ehMarca(marca, QLatin1String("OFX")))
        m_ofxFechado = true;
    else if (ehMarca(marca, QLatin1String("BANKACCTFROM")) || ehMarca(marca, QLatin1String("CCACCTFROM")))
        m_naConta = false;
    else if (m_emTransacao && ehMarca(marca, QLatin1String("STMTTRN")))
        terminaTransacao();
}

void LeitorOfx::terminaTransacao()
{
    m_emTransacao = false;
    const QString &nome = m_campos[Nome], &memo = m_campos[Memo];
    LinhaExtrato linha;
    QString fornecedor;
    // A card's instalments, in any form the banks write them in OFX.
    const Parcela parcela = parcelaNoTexto(nome.isEmpty() ? memo : nome,
                                           m_cartaoAgora ? ParcelaPorExtenso | ParcelaEmNumeros : 0, &fornecedor);
    linha.fornecedor = fornecedor.left(maiorFornecedor);
    linha.parcela = parcela.ehParcela() ? parcela.numero : 0;
    linha.parcelas = parcela.ehParcela() ? parcela.total : 0;
    linha.descricao = memo.isEmpty() ? nome : memo;
    linha.idBanco = m_campos[Id];
    linha.conta = QStringLiteral("OFX ") + (m_banco.isEmpty() ? m_conta : m_banco + QLatin1Char('/') + m_conta);
    linha.doCartao = m_cartaoAgora;
    linha.dataEscrita = m_campos[Data];
    linha.valorEscrito = m_campos[Valor];
    const QString &quando = m_campos[Data], &quanto = m_campos[Valor];
    if (ehDataOfx(quando))
        linha.data = leData(quando.left(8), QStringLiteral("yyyyMMdd"));
    const bool virgula = quanto.contains(QLatin1Char(',')) && !quanto.contains(QLatin1Char('.'));
    const std::optional<qint64> centavos =
        leCentavos(quanto, virgula ? NotacaoValor::VirgulaDecimal : NotacaoValor::PontoDecimal);
    // In OFX money that leaves the customer is negative; in gastos it is spending.
    linha.centavos = -centavos.value_or(0);
    const bool pagamento = m_cartaoAgora && m_campos[Tipo].compare(QLatin1String("PAYMENT"), Qt::CaseInsensitive) == 0;
    linha.natureza = pagamento ? Natureza::PagamentoDeFatura : naturezaDaLinha({nome, memo}, linha.centavos, m_cartaoAgora);
    if (linha.natureza != Natureza::NaoLancamento && !linha.data.isValid())
        return erro(erroNoLancamento(Data, quando,
                                     QStringLiteral("uma data AAAAMMDD entre %1 e %2").arg(primeiroAno).arg(ultimoAno)));
    if (linha.natureza != Natureza::NaoLancamento && !centavos)
        return erro(erroNoLancamento(Valor, quanto, QStringLiteral("um valor como -45.90")));
    m_leitura.linhas << linha;
}

// The field by the line of the file where it stands.
QString LeitorOfx::erroNoLancamento(Campo campo, const QString &texto, const QString &esperado) const
{
    const int linha = int(m_texto->leftRef(m_posicoes[campo]).count(QLatin1Char('\n'))) + 1;
    return QStringLiteral("Linha %1 do OFX: %2 \"%3\" não é %4.")
        .arg(QString::number(linha), nomesDosCampos[campo], trecho(texto), esperado);
}

QString LeitorOfx::nomeDoLayout() const
{
    if (m_contaCorrente && m_cartao)
        return QStringLiteral("OFX — conta corrente e cartão de crédito");
    return m_cartao ? QStringLiteral("OFX — cartão de crédito") : QStringLiteral("OFX — conta corrente");
}

} // namespace

LeituraExtrato leOfx(const QString &texto)
{
    return LeitorOfx().le(texto);
}

bool pareceOfx(const QString &inicio)
{
    return inicio.contains(QLatin1String("OFXHEADER"), Qt::CaseInsensitive)
           || inicio.contains(QLatin1String("<OFX>"), Qt::CaseInsensitive);
}
