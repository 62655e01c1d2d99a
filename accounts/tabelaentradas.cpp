#include "accounts/tabelaentradas.h"

#include "database/sql.h"
#include "statements/valor.h"

namespace {

const QString sqlInserir = QStringLiteral(
    "INSERT INTO entrada (data, fornecedor, descricao, valor, idConta, idImportacao, idTransacao, contaExtrato) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

// Summed by month on the server, from the first day of the oldest month on.
const QString sqlPorMes = QStringLiteral(
    "SELECT YEAR(data) * 12 + MONTH(data) - 1, SUM(valor) FROM entrada WHERE data >= ? AND data < ? "
    "GROUP BY YEAR(data), MONTH(data)");

QVariant chave(int id)
{
    return id > 0 ? QVariant(id) : QVariant(QVariant::Int);
}

} // namespace

namespace TabelaEntradas {

Resultado<> inserir(const Movimento &entrada)
{
    return Sql::executa(sqlInserir, {entrada.data, entrada.fornecedor, entrada.descricao,
                                     valorParaBanco(entrada.centavos), chave(entrada.idConta),
                                     chave(entrada.idImportacao), Sql::textoOuNulo(entrada.idTransacao),
                                     Sql::textoOuNulo(entrada.contaExtrato)});
}

Resultado<QVector<qint64>> porMes(const QDate &atual, int meses)
{
    const QDate inicioDoMes(atual.year(), atual.month(), 1);
    Resultado<QSqlQuery> consulta = Sql::executa(sqlPorMes, {inicioDoMes.addMonths(1 - meses), inicioDoMes.addMonths(1)});
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

} // namespace TabelaEntradas
