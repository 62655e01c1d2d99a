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

// Summed by month on the server, from the first day of the oldest month on.
const QString sqlEntradasPorMes = QStringLiteral(
    "SELECT YEAR(data) * 12 + MONTH(data) - 1, SUM(valor) FROM entrada WHERE data >= ? AND data < ? "
    "GROUP BY YEAR(data), MONTH(data)");

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

Resultado<QVector<qint64>> entradasPorMes(const QDate &atual, int meses)
{
    const QDate inicioDoMes(atual.year(), atual.month(), 1);
    Resultado<QSqlQuery> consulta =
        Sql::executa(sqlEntradasPorMes, {inicioDoMes.addMonths(1 - meses), inicioDoMes.addMonths(1)});
    if (!consulta.ok())
        return consulta.motivo();
    QVector<qint64> somas(meses, 0);
    const int mesAtual = atual.year() * 12 + atual.month() - 1;
    for (QSqlQuery &q = consulta.valor(); q.next();) {
        const int atras = mesAtual - q.value(0).toInt();
        if (atras >= 0 && atras < meses)
            somas[atras] = qRound64(q.value(1).toDouble() * 100);
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
