#ifndef CAPTURADEBUG_H
#define CAPTURADEBUG_H

#include <QStringList>
#include <QtGlobal>

// Collects the debug lines written while it lives; the lines still reach
// the previous handler. One capture at a time.
class CapturaDebug
{
public:
    CapturaDebug();
    ~CapturaDebug();

    QStringList linhas() const { return m_linhas; }
    void limpar() { m_linhas.clear(); }

private:
    static void tratar(QtMsgType tipo, const QMessageLogContext &contexto, const QString &texto);

    QStringList m_linhas;
    QtMessageHandler m_anterior;
};

#endif // CAPTURADEBUG_H
