#include "statements/valor.h"

namespace {

bool ehBranco(QChar c)
{
    return c.isSpace(); // the no-break space included
}

bool ehDigito(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// "12.50" or "-3.5" in our own notation: no comma, one point, and one or
// two digits after it that end the amount.
bool temPontoDecimal(const QString &texto)
{
    const int ponto = texto.indexOf(QLatin1Char('.'));
    if (texto.contains(QLatin1Char(',')) || ponto < 0 || texto.indexOf(QLatin1Char('.'), ponto + 1) >= 0)
        return false;
    const QString depois = texto.mid(ponto + 1).trimmed();
    return (depois.size() == 1 || depois.size() == 2) && ehDigito(depois.at(0)) && ehDigito(depois.back());
}

// Reads digits, thousands marks and the decimal mark of one notation; the
// caller has taken the sign and "R$" off the front.
class Numero
{
public:
    Numero(QChar decimal, QChar milhar, bool zerosAlemDosCentavos)
        : m_decimal(decimal), m_milhar(milhar), m_zerosAlem(zerosAlemDosCentavos)
    {
    }

    std::optional<qint64> le(const QString &texto, int inicio)
    {
        for (int i = inicio; i < texto.size(); ++i) {
            if (!passo(texto.at(i)))
                return std::nullopt;
        }
        if (m_digitos == 0 || (m_casas < 0 && m_grupo >= 0 && m_grupo != 3) || m_casas == 0)
            return std::nullopt;
        const qint64 centavos = m_inteiro * 100 + (m_casas == 1 ? m_fracao * 10 : m_fracao);
        return centavos <= maiorValorEmCentavos ? std::optional<qint64>(centavos) : std::nullopt;
    }

private:
    bool passo(QChar c)
    {
        // A blank is a thousands mark like the notation's own, in a grouping.
        if (c == m_milhar || (ehBranco(c) && m_casas < 0)) {
            const bool primeiro = m_grupo < 0 && m_digitos >= 1 && m_digitos <= 3 && !m_zeroAEsquerda;
            if (m_casas >= 0 || !(primeiro || m_grupo == 3))
                return false;
            m_grupo = 0;
            return true;
        }
        if (c == m_decimal && m_casas < 0) {
            m_casas = 0;
            return m_grupo < 0 || m_grupo == 3;
        }
        if (!ehDigito(c))
            return false;
        if (m_casas >= 0) {
            if (++m_casas <= 2)
                m_fracao = m_fracao * 10 + c.digitValue();
            return m_casas <= 2 || (m_zerosAlem && c == QLatin1Char('0'));
        }
        m_zeroAEsquerda = m_zeroAEsquerda || (m_digitos == 0 && c == QLatin1Char('0'));
        m_grupo += m_grupo >= 0;
        m_inteiro = m_inteiro * 10 + c.digitValue();
        return ++m_digitos <= 11 && m_grupo <= 3;
    }

    const QChar m_decimal, m_milhar;
    const bool m_zerosAlem;
    int m_digitos = 0;
    int m_casas = -1; // digits after the decimal mark; -1 before it
    int m_grupo = -1; // digits since the last thousands mark; -1 before the first
    bool m_zeroAEsquerda = false;
    qint64 m_inteiro = 0, m_fracao = 0;
};

// Where the number starts: past a sign and "R$" in either order, and the
// blanks around them. Sets *negativo; -1 when something else stands there.
int inicioDoNumero(const QString &texto, bool *negativo)
{
    bool sinal = false, moeda = false;
    int i = 0;
    for (; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (ehBranco(c) && (sinal || moeda))
            continue;
        if (!sinal && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            sinal = true;
            *negativo = c == QLatin1Char('-');
        } else if (!moeda && c == QLatin1Char('R') && texto.midRef(i + 1).startsWith(QLatin1Char('$'))) {
            moeda = true;
            ++i;
        } else {
            break;
        }
    }
    return i;
}

} // namespace

std::optional<qint64> leCentavos(const QString &texto, NotacaoValor notacao)
{
    const QString aparado = texto.trimmed();
    bool negativo = false;
    const int inicio = inicioDoNumero(aparado, &negativo);
    const bool ponto = notacao == NotacaoValor::PontoDecimal
                       || (notacao == NotacaoValor::Brasileira && temPontoDecimal(aparado.mid(inicio)));
    Numero numero(ponto ? QLatin1Char('.') : QLatin1Char(','), ponto ? QLatin1Char(',') : QLatin1Char('.'),
                  notacao == NotacaoValor::PontoDecimal);
    const std::optional<qint64> centavos = numero.le(aparado, inicio);
    return centavos && negativo ? std::optional<qint64>(-*centavos) : centavos;
}

bool escritoComVirgula(const QString &texto)
{
    const QString aparado = texto.trimmed();
    const int virgula = aparado.lastIndexOf(QLatin1Char(','));
    const int casas = aparado.size() - virgula - 1;
    return virgula > 0 && (casas == 1 || casas == 2) && ehDigito(aparado.at(virgula + 1)) && ehDigito(aparado.back());
}

QString valorNaGrade(qint64 centavos)
{
    QString texto = valorParaBanco(centavos);
    texto[texto.size() - 3] = QLatin1Char(',');
    return texto;
}

QString valorParaBanco(qint64 centavos)
{
    const qint64 absoluto = qAbs(centavos);
    const int resto = int(absoluto % 100);
    return (centavos < 0 ? QStringLiteral("-") : QString()) + QString::number(absoluto / 100) + QLatin1Char('.')
           + QLatin1Char(char('0' + resto / 10)) + QLatin1Char(char('0' + resto % 10));
}
