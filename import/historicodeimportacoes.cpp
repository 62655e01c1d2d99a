#include "import/historicodeimportacoes.h"

#include "database/sql.h"
#include "database/transacao.h"
#include "instalments/tabelacompras.h"

#include <QSqlError>

namespace {

// The server's codes for an unknown table and an unknown column.
const QStringList codigosDeEsquemaAntigo {QStringLiteral("1146"), QStringLiteral("1054")};

const QString sqlVersao = QStringLiteral(
    "SELECT g.idImportacao, g.idTransacao, g.contaExtrato, i.sha256, r.idGasto "
    "FROM gastos g JOIN importacao i ON FALSE JOIN gasto_repetido r ON FALSE");

const QString sqlSoma = QStringLiteral(
    "UPDATE importacao i JOIN (SELECT COUNT(*) AS linhas, COALESCE(SUM(valor), 0) AS total "
    "FROM gastos WHERE idImportacao = ?) g SET i.linhas = g.linhas + "
    "(SELECT COUNT(*) FROM entrada WHERE idImportacao = i.idImportacao) + "
    "(SELECT COUNT(*) FROM transferencia WHERE idImportacao = i.idImportacao), i.total = g.total "
    "WHERE i.idImportacao = ?");

// The expenses of an import that a later import repeated, and the latest
// such import for each.
const QString sqlDaPosterior = QStringLiteral(
    "SELECT g.idGasto, MAX(r.idImportacao) FROM gastos g JOIN gasto_repetido r ON r.idGasto = g.idGasto "
    "WHERE g.idImportacao = ? AND r.idImportacao <> ? GROUP BY g.idGasto");

const QString sqlPassaParaPosterior = QStringLiteral(
    "UPDATE gastos g JOIN (SELECT r.idGasto, MAX(r.idImportacao) AS posterior FROM gasto_repetido r "
    "JOIN gastos d ON d.idGasto = r.idGasto WHERE d.idImportacao = ? AND r.idImportacao <> ? GROUP BY r.idGasto) m "
    "ON m.idGasto = g.idGasto SET g.idImportacao = m.posterior");

Resultado<> recontar(int idImportacao)
{
    return Sql::executa(sqlSoma, {idImportacao, idImportacao});
}

} // namespace

namespace HistoricoDeImportacoes {

QString faltaAtualizar()
{
    const Resultado<QSqlQuery> consulta = Sql::executa(sqlVersao);
    if (consulta.ok() || !codigosDeEsquemaAntigo.contains(consulta.motivo().codigo))
        return QString();
    return QStringLiteral("O banco de dados ainda não foi atualizado para esta versão do Finara. "
                          "Atualize-o rodando ./scripts/db-server start e tente de novo.");
}

QString quando(const QDateTime &momento)
{
    return momento.toString(QStringLiteral("dd/MM/yyyy 'às' HH:mm"));
}

Resultado<QSqlQuery> lista()
{
    return Sql::executa(QStringLiteral("SELECT idImportacao, quando, arquivo, linhas, total FROM importacao "
                                       "ORDER BY quando DESC, idImportacao DESC"));
}

Resultado<QDateTime> importadoEm(const QString &sha256)
{
    Resultado<QSqlQuery> consulta = Sql::executa(QStringLiteral("SELECT MAX(quando) FROM importacao WHERE sha256 = ?"),
                                                 {sha256});
    if (!consulta.ok())
        return consulta.motivo();
    return consulta.valor().next() ? consulta.valor().value(0).toDateTime() : QDateTime();
}

Resultado<int> abrir(const QString &arquivo, const QString &sha256, const QString &layout, int idConta)
{
    Resultado<QSqlQuery> consulta =
        Sql::executa(QStringLiteral("INSERT INTO importacao (arquivo, sha256, layout, idConta) VALUES (?, ?, ?, ?)"),
                     {arquivo, Sql::textoOuNulo(sha256), Sql::textoOuNulo(layout),
                      Sql::chaveOuNulo(idConta)});
    if (!consulta.ok())
        return consulta.motivo();
    return consulta.valor().lastInsertId().toInt();
}

Resultado<> anotaRepetidas(int idImportacao, const QVector<int> &idsGastos)
{
    QJsonArray ids;
    for (const int id : idsGastos)
        ids.append(id);
    if (ids.isEmpty())
        return Feito();
    return Sql::executa(QStringLiteral("INSERT IGNORE INTO gasto_repetido (idImportacao, idGasto) SELECT ?, id "
                                       "FROM JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS r"),
                        {idImportacao, Sql::json(ids)});
}

Resultado<Gravado> concluir(int idImportacao)
{
    const Resultado<> recontado = recontar(idImportacao);
    if (!recontado.ok())
        return recontado.motivo();
    Resultado<QSqlQuery> consulta =
        Sql::executa(QStringLiteral("SELECT linhas, total FROM importacao WHERE idImportacao = ?"), {idImportacao});
    if (!consulta.ok())
        return consulta.motivo();
    QSqlQuery &q = consulta.valor();
    const int linhas = q.next() ? q.value(0).toInt() : 0;
    const qint64 centavos = qRound64(q.value(1).toDouble() * 100);
    Resultado<QSqlQuery> gastos =
        Sql::executa(QStringLiteral("SELECT COUNT(*) FROM gastos WHERE idImportacao = ?"), {idImportacao});
    if (!gastos.ok())
        return gastos.motivo();
    const Gravado gravado {gastos.valor().next() ? gastos.valor().value(0).toInt() : 0, centavos};
    // An import that wrote nothing leaves nothing to list or undo, nor to keep.
    for (const QString &sql : {QStringLiteral("DELETE FROM gasto_repetido WHERE idImportacao = ?"),
                               QStringLiteral("DELETE FROM importacao WHERE idImportacao = ?")}) {
        const Resultado<> apagado = linhas == 0 ? Resultado<>(Sql::executa(sql, {idImportacao})) : Feito();
        if (!apagado.ok())
            return apagado.motivo();
    }
    return gravado;
}

Resultado<Conteudo> conteudo(int idImportacao)
{
    Resultado<QSqlQuery> consulta = Sql::executa(
        QStringLiteral("SELECT COUNT(*) + (SELECT COUNT(*) FROM entrada WHERE idImportacao = ?) + "
                       "(SELECT COUNT(*) FROM transferencia WHERE idImportacao = ?), COUNT(idCategoria) "
                       "FROM gastos WHERE idImportacao = ?"),
        {idImportacao, idImportacao, idImportacao});
    Resultado<QSqlQuery> posteriores = Sql::executa(sqlDaPosterior, {idImportacao, idImportacao});
    if (!consulta.ok() || !posteriores.ok())
        return consulta.ok() ? posteriores.motivo() : consulta.motivo();
    Conteudo conteudo;
    if (consulta.valor().next())
        conteudo = {consulta.valor().value(0).toInt(), consulta.valor().value(1).toInt(), 0};
    while (posteriores.valor().next())
        ++conteudo.daPosterior;
    return conteudo;
}

Resultado<> desfazer(QSqlDatabase db, int idImportacao, bool manter)
{
    return emTransacao(db, [&]() -> Resultado<> {
        Resultado<> feito = Feito();
        if (manter) {
            const Resultado<QSqlQuery> posteriores = Sql::executa(sqlDaPosterior, {idImportacao, idImportacao}, db);
            feito = Sql::executa(sqlPassaParaPosterior, {idImportacao, idImportacao}, db);
            for (QSqlQuery q = posteriores.ok() ? posteriores.valor() : QSqlQuery(); feito.ok() && q.next();)
                feito = recontar(q.value(1).toInt());
            if (!posteriores.ok())
                feito = posteriores.motivo();
        }
        // A transfer paired with one of these loses its pair, and stays.
        for (const QString &sql : {QStringLiteral("DELETE FROM gastos WHERE idImportacao = ?"),
                                   QStringLiteral("DELETE FROM entrada WHERE idImportacao = ?"),
                                   QStringLiteral("UPDATE transferencia SET idPar = NULL WHERE idPar IN "
                                                  "(SELECT idTransferencia FROM (SELECT idTransferencia FROM "
                                                  "transferencia WHERE idImportacao = ?) AS desfeitas)"),
                                   QStringLiteral("DELETE FROM transferencia WHERE idImportacao = ?"),
                                   QStringLiteral("DELETE FROM gasto_repetido WHERE idImportacao = ?"),
                                   QStringLiteral("DELETE FROM importacao WHERE idImportacao = ?")}) {
            if (feito.ok())
                feito = Sql::executa(sql, {idImportacao}, db);
        }
        return feito.ok() ? TabelaCompras::apagaSemParcelas(db) : feito;
    });
}

} // namespace HistoricoDeImportacoes
