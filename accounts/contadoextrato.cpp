#include "accounts/contadoextrato.h"

#include "statements/linhaextrato.h"

#include <QHash>

namespace {

// The banks' numbers in the Brazilian payment system, as OFX's BANKID has them.
const QHash<int, QString> &bancos()
{
    static const QHash<int, QString> nomes {
        {1, QStringLiteral("Banco do Brasil")}, {33, QStringLiteral("Santander")}, {77, QStringLiteral("Inter")},
        {104, QStringLiteral("Caixa")}, {237, QStringLiteral("Bradesco")}, {260, QStringLiteral("Nubank")},
        {336, QStringLiteral("C6")}, {341, QStringLiteral("Itaú")},
    };
    return nomes;
}

const QString prefixoOfx = QStringLiteral("OFX ");

} // namespace

std::optional<Conta> contaDoExtrato(const LinhaExtrato &linha, const QString &layout)
{
    const TipoDeConta tipo = linha.doCartao ? TipoDeConta::Cartao : TipoDeConta::Corrente;
    const QString tipoEmTexto = linha.doCartao ? QStringLiteral("cartão") : QStringLiteral("conta");
    if (linha.conta.startsWith(prefixoOfx)) {
        const QString banco = linha.conta.mid(prefixoOfx.size()).section(QLatin1Char('/'), -2, -2);
        const QString numero = linha.conta.section(QLatin1Char('/'), -1).mid(banco.isEmpty() ? prefixoOfx.size() : 0);
        const QString nomeDoBanco = bancos().value(banco.toInt(), banco);
        const QString nome = (nomeDoBanco.isEmpty() ? QString() : nomeDoBanco + QStringLiteral(" — "))
                             + tipoEmTexto + QLatin1Char(' ') + numero;
        return Conta {0, nome.trimmed(), tipo, nomeDoBanco};
    }
    // "Nubank — cartão de crédito (CSV)": the bank and the kind are the layout's.
    if (!layout.contains(QStringLiteral(" — ")))
        return std::nullopt;
    return Conta {0, QString(layout).remove(QStringLiteral(" (CSV)")), tipo, layout.section(QStringLiteral(" — "), 0, 0)};
}
