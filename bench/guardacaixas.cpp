#include "bench/guardacaixas.h"

#include "bench/falha.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>

GuardaCaixas::GuardaCaixas(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

GuardaCaixas::~GuardaCaixas()
{
    qApp->removeEventFilter(this);
}

void GuardaCaixas::confere(const QString &onde)
{
    if (m_textos.isEmpty())
        return;
    falha(onde + QStringLiteral(" showed a message box: ") + m_textos.join(QStringLiteral(" | ")));
}

bool GuardaCaixas::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::Show) {
        if (auto *caixa = qobject_cast<QMessageBox *>(objeto)) {
            m_textos << caixa->windowTitle() + QStringLiteral(": ") + caixa->text();
            QMetaObject::invokeMethod(caixa, "done", Qt::QueuedConnection, Q_ARG(int, QMessageBox::Ok));
        }
    }
    return false;
}
