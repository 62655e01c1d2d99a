#ifndef ORIGEMDAPREVIA_H
#define ORIGEMDAPREVIA_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// The files read into an import's preview grid, for the import's record:
// their names and, when there is only one, its SHA-256.
class OrigemDaPrevia
{
public:
    // Notes a file just read, with its bytes; returns the notice for the user
    // when a file with the same SHA-256 was imported before, empty otherwise.
    QString lido(const QString &caminho, const QByteArray &bytes);

    // Empty, never null, when no file was read.
    QString arquivos() const { return m_nomes.isEmpty() ? QStringLiteral("") : m_nomes.join(QStringLiteral(", ")); }
    QString sha256() const { return m_nomes.size() == 1 ? m_sha256 : QString(); }

private:
    QStringList m_nomes;
    QString m_sha256;
};

#endif // ORIGEMDAPREVIA_H
