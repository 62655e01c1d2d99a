#ifndef PROGRESSO_H
#define PROGRESSO_H

#include <QElapsedTimer>
#include <QProgressDialog>

// Progress of a long read or import: a window without a cancel button that
// appears only once the work has lasted about a second, so an ordinary
// statement goes through without it. It is updated at most a hundred times,
// which keeps its cost out of the per-row loop.
class Progresso
{
public:
    Progresso(const QString &texto, QWidget *pai);

    void definirTotal(int total);
    void avancar(int feitos);

private:
    QProgressDialog m_dialogo;
    QElapsedTimer m_relogio;
    int m_passo = 1;
    int m_proximo = 1;
};

#endif // PROGRESSO_H
