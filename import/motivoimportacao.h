#ifndef MOTIVOIMPORTACAO_H
#define MOTIVOIMPORTACAO_H

#include "messages/caixamensagem.h"

#include <QStringList>

class QSqlError;

// Why the server refused row linha (counted from 0) of the preview, whose
// cells are date, name, amount and description: the first cell that could
// not be stored ("Linha 2: a data 31/02/2024 não existe") or, when every
// cell could, what the server's error means.
Motivo motivoDaLinhaRecusada(int linha, const QStringList &celulas, const QSqlError &erro);

// Why a statement's lines could not all be read: the first one without the
// four fields of the program's own layout, and that layout.
Motivo motivoDoExtratoIlegivel(const QStringList &linhas);

#endif // MOTIVOIMPORTACAO_H
