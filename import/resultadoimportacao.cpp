#include "import/resultadoimportacao.h"

#include "messages/formatacao.h"

#include <QStringList>

namespace {

// The lines that appear only when their count is not zero.
struct LinhaOpcional
{
    int ResultadoImportacao::*contagem;
    const char *singular;
    const char *plural;
};

const LinhaOpcional linhasOpcionais[] = {
    {&ResultadoImportacao::repetidasDeixadas, "%1 linha repetida ficou de fora.",
     "%1 linhas repetidas ficaram de fora."},
    {&ResultadoImportacao::classificadasPorRegras, "%1 gasto classificado pelas regras.",
     "%1 gastos classificados pelas regras."},
};

} // namespace

QString textoDoResumo(const ResultadoImportacao &resultado)
{
    QStringList linhas {contagem(resultado.gravadas, "%1 gasto gravado, total de %2.",
                                 "%1 gastos gravados, total de %2.")
                            .arg(emReais(resultado.total))};
    for (const LinhaOpcional &opcional : linhasOpcionais) {
        const int n = resultado.*opcional.contagem;
        if (n > 0)
            linhas << contagem(n, opcional.singular, opcional.plural);
    }
    return linhas.join(QLatin1Char('\n'));
}
