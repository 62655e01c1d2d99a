#include "import/resultadoimportacao.h"

#include <QStringList>

QString textoDoResumo(const ResultadoImportacao &resultado)
{
    QStringList linhas {QStringLiteral("%1 despesa(s) gravada(s), total de R$ %2.")
                            .arg(resultado.gravadas)
                            .arg(QString::number(resultado.total, 'f', 2))};
    if (resultado.repetidasDeixadas > 0)
        linhas << QStringLiteral("%1 linha(s) repetida(s) deixada(s) de fora.").arg(resultado.repetidasDeixadas);
    if (resultado.classificadasPorRegras > 0)
        linhas << QStringLiteral("%1 despesa(s) classificada(s) pelas regras.").arg(resultado.classificadasPorRegras);
    return linhas.join(QLatin1Char('\n'));
}
