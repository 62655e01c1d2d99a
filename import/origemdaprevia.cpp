#include "import/origemdaprevia.h"

#include "import/historicodeimportacoes.h"

#include <QFileInfo>

#include <openssl/evp.h>

namespace {

// OpenSSL's SHA-256 uses the processor's SHA instructions: Qt's own costs
// as much as reading a large statement into the grid.
QString emSha256(const QByteArray &bytes)
{
    unsigned char resumo[EVP_MAX_MD_SIZE];
    unsigned int tamanho = 0;
    if (!EVP_Digest(bytes.constData(), size_t(bytes.size()), resumo, &tamanho, EVP_sha256(), nullptr))
        return QString();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(resumo), int(tamanho)).toHex());
}

} // namespace

QString OrigemDaPrevia::lido(const QString &caminho, const QByteArray &bytes)
{
    m_nomes << QFileInfo(caminho).fileName();
    m_sha256 = emSha256(bytes);
    const QDateTime antes = HistoricoDeImportacoes::importadoEm(m_sha256);
    if (!antes.isValid())
        return QString();
    return QStringLiteral("Este arquivo já foi importado em %1").arg(HistoricoDeImportacoes::quando(antes));
}
