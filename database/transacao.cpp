#include "database/transacao.h"

#include "messages/motivoerro.h"

#include <QDebug>
#include <QSqlError>

Resultado<> emTransacao(QSqlDatabase db, const std::function<Resultado<>()> &trabalho)
{
    if (!db.transaction()) {
        qDebug() << "Erro ao iniciar a transação:" << db.lastError().text();
        return motivoDoErro(db.lastError());
    }
    Resultado<> feito = trabalho();
    if (feito.ok() && db.commit())
        return feito;
    if (feito.ok())
        feito = motivoDoErro(db.lastError());
    if (!db.rollback())
        qDebug() << "Erro ao fazer rollback:" << db.lastError().text();
    return feito;
}
