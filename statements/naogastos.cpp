#include "statements/naogastos.h"

#include <QHash>

#include <algorithm>

namespace {

// One list for every layout and OFX: the forms the banks document.
const QHash<QString, Natureza> &formas()
{
    static const QHash<QString, Natureza> todas {
        {QStringLiteral("saldo anterior"), Natureza::NaoLancamento},
        {QStringLiteral("s a l d o"), Natureza::NaoLancamento},
        {QStringLiteral("saldo do dia"), Natureza::NaoLancamento},
        {QStringLiteral("saldo final"), Natureza::NaoLancamento},
        {QStringLiteral("saldo total disponivel dia"), Natureza::NaoLancamento},
        {QStringLiteral("pagamento recebido"), Natureza::PagamentoDeFatura},
        {QStringLiteral("inclusao de pagamento"), Natureza::PagamentoDeFatura},
        {QStringLiteral("pag fatura boleto"), Natureza::PagamentoDeFatura},
        {QStringLiteral("pagamento de fatura"), Natureza::PagamentoDeFatura},
        {QStringLiteral("pgto fat cartao"), Natureza::PagamentoDeFatura},
    };
    return todas;
}

const int maiorForma = 26;

// Lower case and without accents, of a text whose blanks are run together:
// "Inclusão de Pagamento" is "inclusao de pagamento". ASCII, most of what
// banks write, needs no decomposition.
QString dobrado(const QString &simples)
{
    if (std::all_of(simples.cbegin(), simples.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return simples.toLower();
    QString sem;
    for (const QChar c : simples.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            sem += c.toLower();
    }
    return sem;
}

} // namespace

Natureza naturezaDaLinha(const QStringList &textos, qint64 centavos, bool doCartao)
{
    for (const QString &texto : textos) {
        // Taking accents off leaves as many letters: a text longer than every
        // form, as most are, needs no folding.
        const QString simples = texto.simplified();
        if (simples.size() <= maiorForma) {
            const auto forma = formas().constFind(dobrado(simples));
            if (forma != formas().cend())
                return *forma;
        }
    }
    return centavos < 0 && !doCartao ? Natureza::Entrada : Natureza::Gasto;
}

QString oQueE(Natureza natureza)
{
    switch (natureza) {
    case Natureza::NaoLancamento:
        return QStringLiteral("Linha de saldo do banco: não é um lançamento.");
    case Natureza::PagamentoDeFatura:
        return QStringLiteral("Pagamento da fatura do cartão: o dinheiro passa de uma conta sua para outra, "
                              "não é gasto nem entrada.");
    case Natureza::Entrada:
        return QStringLiteral("Dinheiro que entrou na conta: é uma entrada, não um gasto.");
    case Natureza::Gasto:
        break;
    }
    return QString();
}
