#include "database/transacao.h"

#include <QDebug>
#include <QSqlError>

bool emTransacao(QSqlDatabase db, const std::function<bool()> &trabalho)
{
    if (!db.transaction()) {
        qDebug() << "Erro ao iniciar a transação:" << db.lastError().text();
        return false;
    }
    if (trabalho() && db.commit())
        return true;
    if (!db.rollback())
        qDebug() << "Erro ao fazer rollback:" << db.lastError().text();
    return false;
}
