#include "import/origemdaprevia.h"

#include "import/historicodeimportacoes.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

QString OrigemDaPrevia::lido(const QString &caminho)
{
    QFile arquivo(caminho);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!arquivo.open(QIODevice::ReadOnly) || !hash.addData(&arquivo))
        return QString();
    m_nomes << QFileInfo(caminho).fileName();
    m_sha256 = QString::fromLatin1(hash.result().toHex());
    const QDateTime antes = HistoricoDeImportacoes::importadoEm(m_sha256);
    if (!antes.isValid())
        return QString();
    return QStringLiteral("Este arquivo já foi importado em %1").arg(HistoricoDeImportacoes::quando(antes));
}
