#ifndef MAPEAMENTOSALVO_H
#define MAPEAMENTOSALVO_H

#include <QString>

struct LayoutExtrato;

// The column mappings the user made for unknown statement headers, in the
// table mapeamento_extrato, one per header line, on the default connection.
class MapeamentoSalvo
{
public:
    // The mapping stored for this header line; false when there is none or
    // the database cannot be read.
    static bool busca(const QString &cabecalho, LayoutExtrato *layout);
    // Stores (or replaces) the mapping of this header line.
    static bool grava(const QString &cabecalho, const LayoutExtrato &layout);
    static QString nomeDoLayout();
};

#endif // MAPEAMENTOSALVO_H
