#include "import/origemdaprevia.h"

#include "import/historicodeimportacoes.h"

#include <QCryptographicHash>
#include <QFileInfo>

QString OrigemDaPrevia::lido(const QString &caminho, const QByteArray &bytes)
{
    m_nomes << QFileInfo(caminho).fileName();
    m_sha256 = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    const Resultado<QDateTime> antes = HistoricoDeImportacoes::importadoEm(m_sha256);
    if (!antes.ok() || !antes.valor().isValid())
        return QString();
    return QStringLiteral("Este arquivo já foi importado em %1").arg(HistoricoDeImportacoes::quando(antes.valor()));
}
