#include "import/resultadoimportacao.h"

#include <QLocale>

QString textoDoResumo(const ResultadoImportacao &resultado)
{
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    QString texto = QStringLiteral("%1 gastos gravados, total de R$ %2.")
                        .arg(resultado.gravadas)
                        .arg(brasil.toString(resultado.total, 'f', 2));
    if (resultado.repetidasDeixadas > 0)
        texto += QStringLiteral("\n%1 linhas repetidas ficaram de fora.").arg(resultado.repetidasDeixadas);
    if (resultado.classificadasPorRegras > 0)
        texto += QStringLiteral("\n%1 gastos classificados pelas regras.").arg(resultado.classificadasPorRegras);
    return texto;
}
