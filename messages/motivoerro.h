#ifndef MOTIVOERRO_H
#define MOTIVOERRO_H

#include "messages/caixamensagem.h"

#include <QHash>

class QSqlError;

// Why a statement on the default connection failed: no open connection, or
// what the server's error code means to the user (looked up first in
// proprios, a window's own texts by code, then in the common ones). The
// server's message goes in the details.
Motivo motivoDoErro(const QSqlError &erro, const QHash<QString, QString> &proprios = {});

// The server's own words, for a box's details: in English, so only under a
// sentence saying what happened.
QString palavrasDoServidor(const QString &oQueHouve, const QSqlError &erro);

// There is no open connection to send anything through.
Motivo semConexao();

#endif // MOTIVOERRO_H
