#ifndef MOTIVOIMPORTACAO_H
#define MOTIVOIMPORTACAO_H

#include "messages/caixamensagem.h"

#include <QStringList>

#include <optional>

class QSqlError;

// Why row linha (counted from 0) of the preview, whose cells are date, name,
// amount and description, cannot be written: the first of its date and its
// amount that does not read ("Linha 2: a data 31/02/2024 não existe");
// nothing when both do.
std::optional<Motivo> motivoDaCelulaRecusada(int linha, const QStringList &celulas);

// Why the server refused row linha, whose cells all read.
Motivo motivoDaLinhaRecusada(int linha, const QSqlError &erro);

#endif // MOTIVOIMPORTACAO_H
