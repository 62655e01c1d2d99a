#ifndef TRAVANOMEADA_H
#define TRAVANOMEADA_H

#include "database/resultado.h"

#include <QString>

// A lock the server holds by name for this connection, across transactions
// and across the household's desktops: work that must not run twice at once
// on the same data (two imports of overlapping statements) waits for it.
// Released when the object goes.
class TravaNomeada final
{
public:
    // Waits up to `segundos` for the lock named `nome` in this database.
    TravaNomeada(const QString &nome, int segundos);
    ~TravaNomeada();

    // Whether it is held, or why not.
    const Resultado<> &obtida() const { return m_obtida; }

private:
    QString m_nome;
    Resultado<> m_obtida;
};

#endif // TRAVANOMEADA_H
