#ifndef RESULTADO_H
#define RESULTADO_H

#include "messages/caixamensagem.h"

#include <optional>
#include <utility>

// What a piece of work without a value of its own hands back on success.
struct Feito
{
};

// What a statement, or work made of statements, gave: its value, or why it
// failed in the user's terms (Motivo, the server's own words in its
// details). Every table's functions return one, so a window has a single
// way to learn of a failure and to show it (mostraCaixa).
template <typename T = Feito>
class Resultado
{
public:
    Resultado(T valor) : m_valor(std::move(valor)) {}
    Resultado(Motivo motivo) : m_motivo(std::move(motivo)) {}
    // Work of several steps passes on the first failure, or its own success.
    template <typename U>
    Resultado(const Resultado<U> &outro)
        : m_valor(outro.ok() ? std::optional<T>(T()) : std::nullopt)
        , m_motivo(outro.motivo())
    {
    }

    bool ok() const { return m_valor.has_value(); }
    const T &valor() const { return *m_valor; }
    T &valor() { return *m_valor; }
    const Motivo &motivo() const { return m_motivo; }

private:
    std::optional<T> m_valor;
    Motivo m_motivo;
};

#endif // RESULTADO_H
