#include "import/motivoimportacao.h"

#include "messages/motivoerro.h"
#include "statements/data.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"

#include <QSqlError>

namespace {

bool dataAceita(const QString &celula)
{
    return leData(celula, QStringLiteral("dd/MM/yyyy")).isValid();
}

bool valorAceito(const QString &celula)
{
    return leCentavos(celula, NotacaoValor::Brasileira).has_value();
}

// The cells the import converts, and what the user is told when one of them cannot be.
struct CampoConvertido
{
    int coluna;
    bool (*aceito)(const QString &celula);
    const char *recusado;
    const char *emBranco;
};

const CampoConvertido camposConvertidos[] = {
    {0, dataAceita, "a data %1 não existe (escreva dd/mm/aaaa, de 1900 a 2100)", "a data está em branco"},
    {2, valorAceito, "o valor %1 não é um valor em reais", "o valor está em branco"},
};

const char dica[] = "Corrija a célula na grade ou remova a linha com um duplo clique, e importe de novo.";

QString prefixo(int linha)
{
    return QStringLiteral("Linha %1: ").arg(linha + 1);
}

QString porQue(const QString &celula, const CampoConvertido &campo)
{
    return celula.trimmed().isEmpty() ? QString::fromUtf8(campo.emBranco)
                                      : QString::fromUtf8(campo.recusado).arg(trecho(celula));
}

} // namespace

std::optional<Motivo> motivoDaCelulaRecusada(int linha, const QStringList &celulas)
{
    for (const CampoConvertido &campo : camposConvertidos) {
        const QString celula = celulas.value(campo.coluna);
        if (!campo.aceito(celula))
            return Motivo {prefixo(linha) + porQue(celula, campo) + QLatin1Char('\n') + QString::fromUtf8(dica), {}, {}};
    }
    return std::nullopt;
}

Motivo motivoDaLinhaRecusada(int linha, const QSqlError &erro)
{
    const Motivo doServidor = motivoDoErro(erro);
    return {prefixo(linha) + QStringLiteral("o servidor recusou a linha. ") + doServidor.texto, doServidor.detalhes,
            doServidor.codigo};
}
