#include "classification/classificacaodegastos.h"

#include "database/sql.h"
#include "database/transacao.h"

#include <QSqlQuery>

#include <algorithm>

namespace {

const QString sqlTrava =
    QStringLiteral("SELECT idCategoria FROM categoria WHERE idCategoria = ? LOCK IN SHARE MODE");
const QString sqlAtualiza = QStringLiteral("UPDATE gastos SET idCategoria = :idcategoria WHERE idGasto = :idgasto");
// The other instalments of the same purchases still without a category (or
// with one deleted since) are classified alike: one purchase, one category.
const QString sqlParcelas = QStringLiteral(
    "UPDATE gastos g JOIN gastos dado ON dado.idCompra = g.idCompra "
    "JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS dados ON dados.id = dado.idGasto "
    "LEFT JOIN categoria atual ON atual.idCategoria = g.idCategoria "
    "SET g.idCategoria = ? WHERE atual.idCategoria IS NULL");

// In ascending order, so two classifications at once lock rows alike.
QList<int> semRepeticoes(QList<int> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace

namespace ClassificacaoDeGastos {

Resultado<Classificacao> classificar(const QList<int> &idsGastos, int idCategoria)
{
    Classificacao estado = Classificacao::Feita;
    const Resultado<> feito = emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        Resultado<QSqlQuery> trava = Sql::executa(sqlTrava, {idCategoria});
        if (!trava.ok())
            return trava;
        if (!trava.valor().next()) {
            estado = Classificacao::CategoriaApagada;
            return Feito();
        }
        QJsonArray dados;
        for (const int idGasto : semRepeticoes(idsGastos)) {
            const Resultado<QSqlQuery> atualizado = Sql::executa(sqlAtualiza, {idCategoria, idGasto});
            if (!atualizado.ok())
                return atualizado;
            dados.append(idGasto);
        }
        return Sql::executa(sqlParcelas, {Sql::json(dados), idCategoria});
    });
    if (!feito.ok())
        return feito.motivo();
    return estado;
}

} // namespace ClassificacaoDeGastos
