#include "accounts/tabelatransferencias.h"

#include "database/sql.h"
#include "statements/valor.h"

#include <QSet>

namespace {

const QString sqlInserir = QStringLiteral(
    "INSERT INTO transferencia (data, fornecedor, descricao, valor, idConta, idImportacao, idTransacao, "
    "contaExtrato) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

// The card's bill is paid from the checking account a day or two before the
// card's statement shows it, or after a weekend.
const QString sqlCandidatos = QStringLiteral(
    "SELECT t.idTransferencia, o.idTransferencia FROM transferencia t JOIN transferencia o "
    "ON o.idPar IS NULL AND o.valor = -t.valor AND o.data BETWEEN t.data - INTERVAL 5 DAY AND t.data + INTERVAL 5 DAY "
    "AND NOT (o.idImportacao <=> t.idImportacao) AND NOT (t.idConta IS NOT NULL AND o.idConta <=> t.idConta) "
    "WHERE t.idImportacao = ? AND t.idPar IS NULL "
    "ORDER BY t.idTransferencia, ABS(DATEDIFF(o.data, t.data)), o.idTransferencia");

const QString sqlPar = QStringLiteral("UPDATE transferencia SET idPar = ? WHERE idTransferencia = ?");

QVariant chave(int id)
{
    return id > 0 ? QVariant(id) : QVariant(QVariant::Int);
}

} // namespace

namespace TabelaTransferencias {

Resultado<> inserir(const Movimento &transferencia)
{
    return Sql::executa(sqlInserir, {transferencia.data, transferencia.fornecedor, transferencia.descricao,
                                     valorParaBanco(transferencia.centavos), chave(transferencia.idConta),
                                     chave(transferencia.idImportacao), Sql::textoOuNulo(transferencia.idTransacao),
                                     Sql::textoOuNulo(transferencia.contaExtrato)});
}

Resultado<int> parear(int idImportacao)
{
    Resultado<QSqlQuery> candidatos = Sql::executa(sqlCandidatos, {idImportacao});
    if (!candidatos.ok())
        return candidatos.motivo();
    QSet<int> usados;
    QVector<QPair<int, int>> pares;
    for (QSqlQuery &q = candidatos.valor(); q.next();) {
        const int esta = q.value(0).toInt(), outra = q.value(1).toInt();
        if (usados.contains(esta) || usados.contains(outra))
            continue;
        usados << esta << outra;
        pares.append({esta, outra});
    }
    for (const auto &[esta, outra] : pares) {
        for (const QVariantList &valores : {QVariantList {outra, esta}, QVariantList {esta, outra}}) {
            const Resultado<QSqlQuery> feito = Sql::executa(sqlPar, valores);
            if (!feito.ok())
                return feito.motivo();
        }
    }
    return pares.size();
}

} // namespace TabelaTransferencias
