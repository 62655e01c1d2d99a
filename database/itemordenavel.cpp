#include "database/itemordenavel.h"

#include "statements/data.h"

#include <QDateTime>
#include <QVariant>

namespace {

bool ehNumero(const QVariant &valor)
{
    switch (valor.type()) {
    case QVariant::Double:
    case QVariant::Int:
    case QVariant::UInt:
    case QVariant::LongLong:
    case QVariant::ULongLong:
        return true;
    default:
        return false;
    }
}

// "dd/mm/yy" as the server's DATE_FORMAT(data, '%d/%m/%y') writes it, read
// back with the server's own rule for two-digit years (00-69 is 20xx).
bool chaveDeDataCurta(const QString &texto, double *chave)
{
    const QDate data = leData(texto, QStringLiteral("dd/MM/yy"));
    *chave = data.toJulianDay();
    return data.isValid();
}

} // namespace

ItemOrdenavel::ItemOrdenavel(const QString &texto, const QVariant &valor)
    : QTableWidgetItem(texto)
{
    if (ehNumero(valor)) {
        m_chave = valor.toDouble();
        m_temChave = true;
    } else if (valor.type() == QVariant::Date) {
        m_chave = valor.toDate().toJulianDay();
        m_temChave = true;
    } else if (valor.type() == QVariant::DateTime) {
        m_chave = valor.toDateTime().toMSecsSinceEpoch();
        m_temChave = true;
    } else {
        m_temChave = chaveDeDataCurta(texto, &m_chave);
    }
}

bool ItemOrdenavel::operator<(const QTableWidgetItem &outro) const
{
    const auto *ordenavel = dynamic_cast<const ItemOrdenavel *>(&outro);
    if (m_temChave && ordenavel && ordenavel->m_temChave)
        return m_chave < ordenavel->m_chave;
    return QTableWidgetItem::operator<(outro);
}
