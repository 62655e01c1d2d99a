#include "statements/arquivoextrato.h"

#include <QFile>
#include <QFileInfo>

ArquivoExtrato abreExtrato(const QString &caminho)
{
    ArquivoExtrato extrato;
    QFile arquivo(caminho);
    if (!QFileInfo(caminho).isFile() || !arquivo.open(QIODevice::ReadOnly)) {
        extrato.erro = QStringLiteral("O arquivo não pôde ser aberto para leitura.");
        return extrato;
    }
    extrato.bytes = arquivo.read(inicioQueDecide);
    extrato.reconhecimento = reconheceExtrato(extrato.bytes, arquivo.atEnd());
    if (extrato.reconhecimento.tipo == TipoDeExtrato::Recusado) {
        extrato.erro = extrato.reconhecimento.erro;
        return extrato;
    }
    extrato.bytes += arquivo.readAll();
    if (arquivo.error() != QFileDevice::NoError)
        extrato.erro = QStringLiteral("O arquivo não pôde ser lido até o fim: ") + arquivo.errorString();
    return extrato;
}
