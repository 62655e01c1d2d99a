#include "budget/tabelaorcamento.h"

#include "database/sql.h"
#include "statements/valor.h"

#include <QSqlQuery>

namespace {

const QString sqlLista = QStringLiteral(
    "SELECT categoria.idCategoria, categoria.categoria, orcamento.valor "
    "FROM categoria LEFT JOIN orcamento ON orcamento.idCategoria = categoria.idCategoria "
    "ORDER BY categoria.categoria");
// The amount goes in cents and the server divides, exactly, in DECIMAL.
const QString sqlGrava = QStringLiteral(
    "INSERT INTO orcamento (idCategoria, valor) VALUES (?, ? / 100) ON DUPLICATE KEY UPDATE valor = VALUES(valor)");
const QString sqlApaga = QStringLiteral("DELETE FROM orcamento WHERE idCategoria = ?");

// The amount typed, in cents, or why it is not one.
Resultado<qint64> centavosDigitados(const QString &texto)
{
    const std::optional<qint64> centavos = leCentavos(texto, NotacaoValor::Brasileira);
    if (!centavos)
        return Motivo {QStringLiteral("“%1” não é um valor em reais. Escreva-o como no extrato, por exemplo "
                                      "1.446,90.").arg(texto.trimmed()), {}, {}};
    // The reader refuses what gastos could not hold, a hundred billion and more.
    if (*centavos <= 0)
        return Motivo {QStringLiteral("O orçamento deve ser maior que zero e menor que cem bilhões; "
                                      "deixe-o vazio para não ter orçamento."), {}, {}};
    return *centavos;
}

} // namespace

namespace TabelaOrcamento {

Resultado<QVector<OrcamentoDaCategoria>> lista()
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlLista);
    if (!consulta.ok())
        return consulta.motivo();
    QVector<OrcamentoDaCategoria> categorias;
    QSqlQuery &linhas = consulta.valor();
    while (linhas.next()) {
        const QVariant valor = linhas.value(2);
        categorias.append({linhas.value(0).toInt(), linhas.value(1).toString(),
                           valor.isNull() ? std::nullopt : std::optional<qint64>(Sql::centavos(valor))});
    }
    return categorias;
}

Resultado<std::optional<qint64>> grava(int idCategoria, const QString &texto)
{
    if (texto.trimmed().isEmpty()) {
        const Resultado<> apagado = Sql::executa(sqlApaga, {idCategoria});
        if (!apagado.ok())
            return apagado.motivo();
        return std::optional<qint64>();
    }
    const Resultado<qint64> centavos = centavosDigitados(texto);
    if (!centavos.ok())
        return centavos.motivo();
    const Resultado<> gravado = Sql::executa(sqlGrava, {idCategoria, centavos.valor()});
    if (!gravado.ok())
        return gravado.motivo();
    return std::optional<qint64>(centavos.valor());
}

} // namespace TabelaOrcamento
