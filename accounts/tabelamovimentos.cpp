#include "accounts/tabelamovimentos.h"

#include "database/sql.h"
#include "statements/valor.h"

#include <QSet>

namespace {

const QString sqlsInserir[] = {
    QStringLiteral("INSERT INTO entrada (data, fornecedor, descricao, valor, idConta, idImportacao, idTransacao, "
                   "contaExtrato) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
    QStringLiteral("INSERT INTO transferencia (data, fornecedor, descricao, valor, idConta, idImportacao, "
                   "idTransacao, contaExtrato) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
};

// Summed by month on the server, months reckoned from the server's date as
// the report's spending is: 0 the current month, 1 the one before, ...
const QString sqlEntradasPorMes = QStringLiteral(
    "SELECT PERIOD_DIFF(DATE_FORMAT(CURDATE(), '%Y%m'), DATE_FORMAT(data, '%Y%m')), SUM(valor) FROM entrada "
    "WHERE data >= DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL ? MONTH), '%Y-%m-01') "
    "AND data < DATE_FORMAT(DATE_ADD(CURDATE(), INTERVAL 1 MONTH), '%Y-%m-01') GROUP BY 1");

// The card's bill is paid from the checking account a day or two before the
// card's statement shows it, or after a weekend.
const QString sqlCandidatos = QStringLiteral(
    "SELECT t.idTransferencia, o.idTransferencia FROM transferencia t JOIN transferencia o "
    "ON o.idPar IS NULL AND o.valor = -t.valor AND o.data BETWEEN t.data - INTERVAL 5 DAY AND t.data + INTERVAL 5 DAY "
    "AND NOT (o.idImportacao <=> t.idImportacao) AND NOT (t.idConta IS NOT NULL AND o.idConta <=> t.idConta) "
    "WHERE t.idImportacao = ? AND t.idPar IS NULL "
    "ORDER BY t.idTransferencia, ABS(DATEDIFF(o.data, t.data)), o.idTransferencia");

const QString sqlPar = QStringLiteral("UPDATE transferencia SET idPar = ? WHERE idTransferencia = ?");

} // namespace

namespace TabelaMovimentos {

Resultado<> inserir(Tipo tipo, const Movimento &m)
{
    return Sql::executa(sqlsInserir[int(tipo)], {m.data, m.fornecedor, m.descricao, valorParaBanco(m.centavos),
                                                 Sql::chaveOuNulo(m.idConta), Sql::chaveOuNulo(m.idImportacao),
                                                 Sql::textoOuNulo(m.idTransacao), Sql::textoOuNulo(m.contaExtrato)});
}

Resultado<QVector<qint64>> entradasPorMes(int meses)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlEntradasPorMes, {meses - 1});
    if (!consulta.ok())
        return consulta.motivo();
    QVector<qint64> somas(meses, 0);
    for (QSqlQuery &q = consulta.valor(); q.next();) {
        const int atras = q.value(0).toInt();
        if (atras >= 0 && atras < meses)
            somas[atras] = Sql::centavos(q.value(1));
    }
    return somas;
}

Resultado<int> pareiaTransferencias(int idImportacao)
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

} // namespace TabelaMovimentos
