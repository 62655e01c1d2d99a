#include "import/leitorofx.h"

#include "import/leitorcsvbanco.h"
#include "import/valorbancario.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace {

// Card bill payments and balance lines, which some banks put among the
// transactions. Prefixes compared by hand: a regular expression here cost a
// good part of reading a large statement.
bool naoEGasto(const QString &texto)
{
    static const QLatin1String prefixos[] = {
        QLatin1String("saldo"), QLatin1String("s a l d o"), QLatin1String("pagamento recebido"),
        QLatin1String("pagamento de fatura"), QLatin1String("pgto fat"), QLatin1String("inclusao de pagamento"),
        QLatin1String("inclus\xe3o de pagamento")};
    return std::any_of(std::begin(prefixos), std::end(prefixos),
                       [&](QLatin1String prefixo) { return texto.startsWith(prefixo, Qt::CaseInsensitive); });
}

QString semEntidades(QString texto)
{
    if (!texto.contains(QLatin1Char('&')))
        return texto;
    static const QRegularExpression numerica(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
    QRegularExpressionMatch m;
    while ((m = numerica.match(texto)).hasMatch()) {
        bool ok = false;
        const uint codigo = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        // A code past Unicode's last is no character: it becomes the replacement one.
        const uint caractere = ok && codigo <= 0x10FFFF ? codigo : 0xFFFD;
        texto.replace(m.capturedStart(), m.capturedLength(), QString::fromUcs4(&caractere, 1));
    }
    return texto.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&apos;"), QLatin1String("'"))
        .replace(QLatin1String("&nbsp;"), QLatin1String(" ")).replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// The leaf tags of a transaction that a row needs.
enum Campo { Data, Valor, Id, Nome, Memo, Campos };
const QLatin1String nomesDosCampos[Campos] = {QLatin1String("DTPOSTED"), QLatin1String("TRNAMT"),
                                              QLatin1String("FITID"), QLatin1String("NAME"), QLatin1String("MEMO")};

bool ehMarca(const QStringRef &marca, QLatin1String nome)
{
    return marca.size() == nome.size() && marca.compare(nome, Qt::CaseInsensitive) == 0;
}

// One pass over the tags, without building a tree: the file is a flat list
// of transactions, and the tags around them only tell checking from card.
class LeitorOfx
{
public:
    LeituraExtrato le(const QString &texto);

private:
    void abre(const QStringRef &marca, const QStringRef &valor);
    void fecha(const QStringRef &marca);
    void terminaTransacao();
    void erro(const QString &texto) { if (m_leitura.erro.isEmpty()) m_leitura.erro = texto; }
    QString nomeDoLayout() const;

    LeituraExtrato m_leitura;
    QString m_campos[Campos];
    bool m_emTransacao = false;
    bool m_ofxAberto = false;
    bool m_ofxFechado = false;
    bool m_conta = false;
    bool m_cartao = false;
};

LeituraExtrato LeitorOfx::le(const QString &texto)
{
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
            abre(marca, texto.midRef(fim + 1, proxima < 0 ? -1 : proxima - fim - 1));
        inicio = proxima;
    }
    if (!m_ofxAberto)
        erro(QStringLiteral("O arquivo não é um OFX: falta a marca <OFX>."));
    if (m_emTransacao || !m_ofxFechado)
        erro(QStringLiteral("O arquivo OFX está incompleto: termina antes de </OFX>. Baixe o extrato de novo."));
    if (m_leitura.lancamentos.isEmpty() && m_leitura.ignoradas == 0)
        erro(QStringLiteral("O arquivo OFX não tem lançamentos (nenhum <STMTTRN>)."));
    if (!m_leitura.erro.isEmpty())
        m_leitura.lancamentos.clear();
    m_leitura.layout = nomeDoLayout();
    return m_leitura;
}

void LeitorOfx::abre(const QStringRef &marca, const QStringRef &valor)
{
    if (m_emTransacao) {
        for (int campo = 0; campo < Campos; ++campo) {
            if (ehMarca(marca, nomesDosCampos[campo])) {
                m_campos[campo] = semEntidades(valor.trimmed().toString());
                return;
            }
        }
    }
    if (ehMarca(marca, QLatin1String("STMTTRN"))) {
        if (m_emTransacao)
            terminaTransacao();
        for (QString &campo : m_campos)
            campo.clear();
        m_emTransacao = true;
    } else if (ehMarca(marca, QLatin1String("OFX"))) {
        m_ofxAberto = true;
    } else if (ehMarca(marca, QLatin1String("STMTRS"))) {
        m_conta = true;
    } else if (ehMarca(marca, QLatin1String("CCSTMTRS"))) {
        m_cartao = true;
    }
}

void LeitorOfx::fecha(const QStringRef &marca)
{
    if (ehMarca(marca, QLatin1String("OFX")))
        m_ofxFechado = true;
    else if (m_emTransacao && ehMarca(marca, QLatin1String("STMTTRN")))
        terminaTransacao();
}

void LeitorOfx::terminaTransacao()
{
    m_emTransacao = false;
    const QString &nome = m_campos[Nome], &memo = m_campos[Memo];
    LancamentoExtrato lancamento;
    lancamento.fornecedor = semParcela(nome.isEmpty() ? memo : nome);
    lancamento.descricao = memo.isEmpty() ? nome : memo;
    if (naoEGasto(lancamento.descricao) || naoEGasto(lancamento.fornecedor)) {
        ++m_leitura.ignoradas;
        return;
    }
    const QString &quando = m_campos[Data], &quanto = m_campos[Valor];
    const int numero = m_leitura.lancamentos.size() + m_leitura.ignoradas + 1;
    lancamento.data = dataNaGrade(quando.left(8), QStringLiteral("yyyyMMdd"));
    if (lancamento.data.isNull())
        return erro(QStringLiteral("Lançamento %1 do OFX: DTPOSTED \"%2\" não é uma data AAAAMMDD.")
                        .arg(numero).arg(quando));
    const bool virgula = quanto.contains(QLatin1Char(',')) && !quanto.contains(QLatin1Char('.'));
    qint64 centavos = 0;
    if (!centavosDoValor(quanto, virgula ? NotacaoValor::VirgulaDecimal : NotacaoValor::PontoDecimal, &centavos))
        return erro(QStringLiteral("Lançamento %1 do OFX: TRNAMT \"%2\" não é um valor como -45.90.")
                        .arg(numero).arg(quanto));
    // In OFX money that leaves the customer is negative; in gastos it is spending.
    lancamento.valor = valorNaGrade(-centavos);
    lancamento.identificador = m_campos[Id];
    m_leitura.lancamentos << lancamento;
}

QString LeitorOfx::nomeDoLayout() const
{
    if (m_conta && m_cartao)
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
