#include "register/leituradogasto.h"

#include "statements/data.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

namespace {

Motivo recusa(const QString &texto, const char *emBranco, const char *recusado)
{
    const QString porQue = texto.trimmed().isEmpty() ? QString::fromUtf8(emBranco)
                                                     : QString::fromUtf8(recusado).arg(trecho(texto.trimmed()));
    return {porQue, {}, {}};
}

} // namespace

Resultado<QDate> dataDoGasto(const QString &texto)
{
    const QDate data = leData(texto.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (data.isValid())
        return data;
    return recusa(texto, "A data está em branco.", "A data %1 não existe (escreva dd/mm/aaaa, de 1900 a 2100).");
}

Resultado<qint64> valorDoGasto(const QString &texto)
{
    const std::optional<qint64> centavos = leCentavos(texto, NotacaoValor::Brasileira);
    if (centavos)
        return *centavos;
    return recusa(texto, "O valor está em branco.", "O valor %1 não é um valor em reais.");
}
