#ifndef PROGRESSO_H
#define PROGRESSO_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

// Progress of a long read or import: a window without a cancel button that
// appears only once the work has lasted about a second, so an ordinary
// statement goes through without it. It is updated at most a hundred times,
// which keeps its cost out of the per-row loop.
//
// While it lives nothing reaches the window that started the work, and the
// progress window cannot be closed: the events it lets through would let a
// click start a second import inside the first, or remove a row mid-import.
class Progresso final : public QObject
{
public:
    Progresso(const QString &texto, QWidget *pai);
    ~Progresso() override;

    void definirTotal(int total);
    void avancar(int feitos);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    QProgressDialog m_dialogo;
    QPointer<QWidget> m_pai;
    QPointer<QWidget> m_foco;
    QElapsedTimer m_relogio;
    int m_passo = 1;
    int m_proximo = 1;
};

#endif // PROGRESSO_H
