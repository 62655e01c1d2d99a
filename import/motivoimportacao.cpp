#include "import/motivoimportacao.h"

#include "import/conversaoextrato.h"
#include "messages/formatacao.h"
#include "messages/motivoerro.h"

#include <QSqlError>

namespace {

bool dataAceita(const QString &celula)
{
    return !dataParaBanco(celula).isNull();
}

bool valorAceito(const QString &celula)
{
    bool numero = false;
    valorParaBanco(celula).toDouble(&numero);
    return numero;
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
    {0, dataAceita, "a data %1 não existe", "a data está em branco"},
    {2, valorAceito, "o valor %1 não é um valor em reais", "o valor está em branco"},
};

const char dica[] = "Corrija a célula na grade ou remova a linha com um duplo clique, e importe de novo.";

// A no-break space keeps "R$" with its amount when the box wraps the line.
const char layoutProprio[] =
    "O programa lê extratos com quatro campos separados por “;”: data;nome;valor;descrição, "
    "por exemplo 05/03/2024;Mercado;R$\u00a01.234,56;compras do mês.";

QString porQue(const QString &celula, const CampoConvertido &campo)
{
    return celula.trimmed().isEmpty() ? QString::fromUtf8(campo.emBranco)
                                      : QString::fromUtf8(campo.recusado).arg(celula);
}

} // namespace

Motivo motivoDaLinhaRecusada(int linha, const QStringList &celulas, const QSqlError &erro)
{
    const QString prefixo = QStringLiteral("Linha %1: ").arg(linha + 1);
    for (const CampoConvertido &campo : camposConvertidos) {
        const QString celula = celulas.value(campo.coluna);
        if (!campo.aceito(celula))
            return {prefixo + porQue(celula, campo) + QLatin1Char('\n') + QString::fromUtf8(dica), erro.text()};
    }
    const Motivo doServidor = motivoDoErro(erro);
    return {prefixo + QStringLiteral("o servidor recusou a linha. ") + doServidor.texto, doServidor.detalhes};
}

Motivo motivoDoExtratoIlegivel(const QStringList &linhas)
{
    for (int i = 0; i < linhas.size(); ++i) {
        const int campos = camposDaLinha(linhas.at(i)).size();
        if (campos != 4)
            return {QStringLiteral("O arquivo não está num formato que o programa conheça: a linha %1 tem %2.\n")
                            .arg(i + 1)
                            .arg(contagem(campos, "%1 campo", "%1 campos"))
                        + QString::fromUtf8(layoutProprio),
                    {}};
    }
    return {QStringLiteral("O arquivo não pôde ser lido."), {}};
}
