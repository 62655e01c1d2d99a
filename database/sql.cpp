#include "database/sql.h"

#include "messages/motivoerro.h"

#include <QDebug>
#include <QJsonDocument>
#include <QSqlError>

namespace Sql {

Resultado<QSqlQuery> executa(const QString &sql, const QVariantList &valores, const QSqlDatabase &db)
{
    QSqlQuery consulta(db);
    consulta.setForwardOnly(true);
    bool feito = consulta.prepare(sql);
    for (const QVariant &valor : valores)
        consulta.addBindValue(valor);
    feito = feito && consulta.exec();
    if (feito)
        return consulta;
    qDebug() << "Erro na instrução" << sql.simplified().left(60) << ':' << consulta.lastError().text();
    return motivoDoErro(consulta.lastError());
}

QString json(const QJsonArray &lista)
{
    return QString::fromUtf8(QJsonDocument(lista).toJson(QJsonDocument::Compact));
}

QVariant chaveOuNulo(int chave)
{
    return chave > 0 ? QVariant(chave) : QVariant(QVariant::Int);
}

QVariant textoOuNulo(const QString &texto)
{
    return texto.isEmpty() ? QVariant(QVariant::String) : QVariant(texto);
}

qint64 centavos(const QVariant &decimal)
{
    return qRound64(decimal.toDouble() * 100);
}

} // namespace Sql
