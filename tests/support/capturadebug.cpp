#include "support/capturadebug.h"

namespace {
CapturaDebug *ativa = nullptr;
}

CapturaDebug::CapturaDebug()
{
    Q_ASSERT(!ativa);
    ativa = this;
    m_anterior = qInstallMessageHandler(&CapturaDebug::tratar);
}

CapturaDebug::~CapturaDebug()
{
    qInstallMessageHandler(m_anterior);
    ativa = nullptr;
}

void CapturaDebug::tratar(QtMsgType tipo, const QMessageLogContext &contexto, const QString &texto)
{
    if (!ativa)
        return;
    if (tipo == QtDebugMsg)
        ativa->m_linhas.append(texto);
    if (ativa->m_anterior)
        ativa->m_anterior(tipo, contexto, texto);
}
