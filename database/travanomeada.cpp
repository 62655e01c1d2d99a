#include "database/travanomeada.h"

#include "database/sql.h"

namespace {

// Per database: two households on one server do not wait for each other.
const QString sqlObter = QStringLiteral("SELECT GET_LOCK(CONCAT(DATABASE(), '.', ?), ?)");
const QString sqlLiberar = QStringLiteral("SELECT RELEASE_LOCK(CONCAT(DATABASE(), '.', ?))");

Resultado<> obter(const QString &nome, int segundos)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlObter, {nome, segundos});
    if (!consulta.ok())
        return consulta.motivo();
    if (consulta.valor().next() && consulta.valor().value(0).toInt() == 1)
        return Feito();
    return Motivo {QStringLiteral("Outro computador da casa está importando um extrato agora; "
                                  "tente de novo daqui a pouco."), {}, {}};
}

} // namespace

TravaNomeada::TravaNomeada(const QString &nome, int segundos)
    : m_nome(nome)
    , m_obtida(obter(nome, segundos))
{
}

TravaNomeada::~TravaNomeada()
{
    if (m_obtida.ok())
        Sql::executa(sqlLiberar, {m_nome});
}
