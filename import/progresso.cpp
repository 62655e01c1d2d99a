#include "import/progresso.h"

#include <QApplication>
#include <QKeyEvent>

#include <limits>

namespace {
const int esperaAntesDeMostrarMs = 1000;
const int atualizacoes = 100;
} // namespace

// The window decides by its own clock when to appear: left to itself, Qt
// shows it as soon as its estimate of the whole passes the minimum
// duration, and an estimate made just after a slow read runs far too high.
Progresso::Progresso(const QString &texto, QWidget *pai)
    : m_dialogo(texto, QString(), 0, 1, pai)
    , m_pai(pai ? pai->window() : nullptr)
{
    m_dialogo.setCancelButton(nullptr);
    m_dialogo.setWindowModality(Qt::WindowModal);
    m_dialogo.setMinimumDuration(std::numeric_limits<int>::max());
    m_dialogo.reset(); // stops the timer that would show it from the event loop
    m_dialogo.installEventFilter(this);
    if (m_pai) {
        m_foco = QApplication::focusWidget();
        m_pai->setEnabled(false);
        m_dialogo.setEnabled(true); // a window of its own, not greyed with its parent
    }
    m_relogio.start();
}

Progresso::~Progresso()
{
    if (!m_pai)
        return;
    m_pai->setEnabled(true);
    if (m_foco)
        m_foco->setFocus();
}

// Esc and the window's close button would hide the window and leave the work
// running with its parent open to clicks.
bool Progresso::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::Close) {
        evento->ignore();
        return true;
    }
    if (evento->type() == QEvent::KeyPress)
        return static_cast<QKeyEvent *>(evento)->matches(QKeySequence::Cancel);
    return QObject::eventFilter(objeto, evento);
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
    if (m_relogio.elapsed() >= esperaAntesDeMostrarMs)
        m_dialogo.setMinimumDuration(0);
    m_dialogo.setValue(feitos);
}
