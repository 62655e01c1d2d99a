#include "import/progresso.h"

namespace {
const int esperaAntesDeMostrarMs = 1000;
const int atualizacoes = 100;
} // namespace

// The dialog's clock starts when it is constructed, so the time spent
// before the total is known counts towards showing it.
Progresso::Progresso(const QString &texto, QWidget *pai)
    : m_dialogo(texto, QString(), 0, 1, pai)
{
    m_dialogo.setCancelButton(nullptr);
    m_dialogo.setWindowModality(Qt::WindowModal);
    m_dialogo.setMinimumDuration(esperaAntesDeMostrarMs);
}

void Progresso::definirTotal(int total)
{
    m_dialogo.setMaximum(qMax(total, 1));
    m_passo = qMax(total / atualizacoes, 1);
    m_proximo = m_passo;
}

void Progresso::avancar(int feitos)
{
    if (feitos < m_proximo)
        return;
    m_proximo = feitos + m_passo;
    m_dialogo.setValue(feitos);
}
