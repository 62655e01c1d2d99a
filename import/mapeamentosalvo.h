#ifndef MAPEAMENTOSALVO_H
#define MAPEAMENTOSALVO_H

#include "database/resultado.h"

#include <QString>

#include <optional>

struct LayoutExtrato;

// The column mappings the user made for unknown statement headers, in the
// table mapeamento_extrato, one per header line, on the default connection.
namespace MapeamentoSalvo {

// The mapping stored for this header line; none when there is none.
Resultado<std::optional<LayoutExtrato>> busca(const QString &cabecalho);

// Stores (or replaces) the mapping of this header line.
Resultado<> grava(const QString &cabecalho, const LayoutExtrato &layout);

} // namespace MapeamentoSalvo

#endif // MAPEAMENTOSALVO_H
