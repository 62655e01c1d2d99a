#ifndef ARQUIVOEXTRATO_H
#define ARQUIVOEXTRATO_H

#include "statements/reconhecimentoextrato.h"

#include <QByteArray>
#include <QString>

// A statement file as read from disk: its layout recognised from its start,
// then the whole of it, or why it could not be read.
struct ArquivoExtrato
{
    QByteArray bytes;
    Reconhecimento reconhecimento;
    QString erro;
};

// A file that cannot be opened, or is not a regular file (a pipe would
// block until something writes to it, /dev/zero never ends), is an error;
// so is one of a layout refused from its first bytes, which is not read
// further.
ArquivoExtrato abreExtrato(const QString &caminho);

#endif // ARQUIVOEXTRATO_H
