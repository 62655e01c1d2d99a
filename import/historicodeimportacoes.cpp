#include "import/historicodeimportacoes.h"

#include "database/sql.h"
#include "database/transacao.h"
#include "instalments/tabelacompras.h"

#include <QSet>
#include <QSqlError>

#include <iterator>

namespace {

// The server's codes for an unknown table and an unknown column.
const QStringList codigosDeEsquemaAntigo {QStringLiteral("1146"), QStringLiteral("1054")};

// The newest tables and columns an import writes.
const QString sqlVersao = QStringLiteral(
    "SELECT g.idImportacao, g.idTransacao, g.contaExtrato, g.idConta, g.idCompra, g.dataNoExtrato, i.sha256, "
    "i.idConta, r.idGasto, e.idEntrada, t.idTransferencia FROM gastos g JOIN importacao i ON FALSE "
    "JOIN gasto_repetido r ON FALSE JOIN entrada_repetida e ON FALSE JOIN transferencia_repetida t ON FALSE");

const QString sqlSoma = QStringLiteral(
    "UPDATE importacao i JOIN (SELECT COUNT(*) AS linhas, COALESCE(SUM(valor), 0) AS total "
    "FROM gastos WHERE idImportacao = ?) g SET i.linhas = g.linhas + "
    "(SELECT COUNT(*) FROM entrada WHERE idImportacao = i.idImportacao) + "
    "(SELECT COUNT(*) FROM transferencia WHERE idImportacao = i.idImportacao), i.total = g.total "
    "WHERE i.idImportacao = ?");

// The tables an import writes rows to, each with the table noting which of
// its rows later imports repeated; in the order of HistoricoDeImportacoes::Tabela.
struct Tabela
{
    const char *linhas;
    const char *chave;
    const char *notas;
};
const Tabela tabelas[] = {
    {"gastos", "idGasto", "gasto_repetido"},
    {"entrada", "idEntrada", "entrada_repetida"},
    {"transferencia", "idTransferencia", "transferencia_repetida"},
};

// A statement on each table, from a text naming the rows' table (%1), their
// key (%2) and the notes' table (%3): the names are ours, never the user's.
QString paraATabela(const char *modelo, const Tabela &tabela)
{
    // Not arg(), which numbers the markers a text has rather than the ones it names.
    return QString::fromLatin1(modelo)
        .replace(QLatin1String("%1"), QLatin1String(tabela.linhas))
        .replace(QLatin1String("%2"), QLatin1String(tabela.chave))
        .replace(QLatin1String("%3"), QLatin1String(tabela.notas));
}

// The rows of an import that a later import repeated, and the latest such
// import for each.
const char sqlDaPosterior[] = "SELECT g.%2, MAX(r.idImportacao) FROM %1 g JOIN %3 r ON r.%2 = g.%2 "
                              "WHERE g.idImportacao = ? AND r.idImportacao <> ? GROUP BY g.%2";

const char sqlPassaParaPosterior[] =
    "UPDATE %1 g JOIN (SELECT r.%2 AS id, MAX(r.idImportacao) AS posterior FROM %3 r JOIN %1 d ON d.%2 = r.%2 "
    "WHERE d.idImportacao = ? AND r.idImportacao <> ? GROUP BY r.%2) m ON m.id = g.%2 SET g.idImportacao = m.posterior";

const char sqlAnota[] =
    "INSERT IGNORE INTO %3 (idImportacao, %2) SELECT ?, id FROM JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS r";

const char sqlApagaNotas[] = "DELETE FROM %3 WHERE idImportacao = ?";

// Each later import that a row of idImportacao was repeated by, last.
Resultado<QSet<int>> posteriores(int idImportacao, int *linhas)
{
    QSet<int> importacoes;
    for (const Tabela &tabela : tabelas) {
        Resultado<QSqlQuery> consulta = Sql::executa(paraATabela(sqlDaPosterior, tabela), {idImportacao, idImportacao});
        if (!consulta.ok())
            return consulta.motivo();
        for (QSqlQuery &q = consulta.valor(); q.next(); ++*linhas)
            importacoes.insert(q.value(1).toInt());
    }
    return importacoes;
}

Resultado<> apagaNotas(int idImportacao)
{
    for (const Tabela &tabela : tabelas) {
        const Resultado<> apagadas = Sql::executa(paraATabela(sqlApagaNotas, tabela), {idImportacao});
        if (!apagadas.ok())
            return apagadas;
    }
    return Feito();
}

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

Resultado<> anotaRepetidas(int idImportacao, const Repetidas &repetidas)
{
    for (int t = 0; t < int(std::size(tabelas)); ++t) {
        QJsonArray ids;
        for (const int id : repetidas[t])
            ids.append(id);
        const Resultado<> anotadas = ids.isEmpty() ? Feito()
                                                   : Resultado<>(Sql::executa(paraATabela(sqlAnota, tabelas[t]),
                                                                              {idImportacao, Sql::json(ids)}));
        if (!anotadas.ok())
            return anotadas;
    }
    return Feito();
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
    const Gravado gravado {gastos.valor().next() ? gastos.valor().value(0).toInt() : 0, centavos, linhas};
    if (linhas > 0)
        return gravado;
    // An import that wrote nothing leaves nothing to list or undo, nor to keep.
    Resultado<> apagado = apagaNotas(idImportacao);
    if (apagado.ok())
        apagado = Sql::executa(QStringLiteral("DELETE FROM importacao WHERE idImportacao = ?"), {idImportacao});
    return apagado.ok() ? Resultado<Gravado>(gravado) : apagado.motivo();
}

Resultado<Conteudo> conteudo(int idImportacao)
{
    Resultado<QSqlQuery> consulta = Sql::executa(
        QStringLiteral("SELECT COUNT(*) + (SELECT COUNT(*) FROM entrada WHERE idImportacao = ?) + "
                       "(SELECT COUNT(*) FROM transferencia WHERE idImportacao = ?), COUNT(idCategoria) "
                       "FROM gastos WHERE idImportacao = ?"),
        {idImportacao, idImportacao, idImportacao});
    if (!consulta.ok())
        return consulta.motivo();
    Conteudo conteudo;
    if (consulta.valor().next())
        conteudo = {consulta.valor().value(0).toInt(), consulta.valor().value(1).toInt(), 0};
    const Resultado<QSet<int>> lidas = posteriores(idImportacao, &conteudo.daPosterior);
    return lidas.ok() ? Resultado<Conteudo>(conteudo) : lidas.motivo();
}

// With manter, the rows a later import repeated pass to the latest such
// import, whose counts are then made again.
Resultado<> desfazer(QSqlDatabase db, int idImportacao, bool manter)
{
    return emTransacao(db, [&]() -> Resultado<> {
        int passadas = 0;
        const Resultado<QSet<int>> lidas = manter ? posteriores(idImportacao, &passadas) : QSet<int>();
        Resultado<> feito = lidas.ok() ? Resultado<>(Feito()) : lidas.motivo();
        for (int t = 0; manter && feito.ok() && t < int(std::size(tabelas)); ++t)
            feito = Sql::executa(paraATabela(sqlPassaParaPosterior, tabelas[t]), {idImportacao, idImportacao}, db);
        for (const int posterior : lidas.ok() ? lidas.valor() : QSet<int>()) {
            if (feito.ok())
                feito = recontar(posterior);
        }
        // A transfer paired with one of these loses its pair, and stays.
        for (const QString &sql : {QStringLiteral("DELETE FROM gastos WHERE idImportacao = ?"),
                                   QStringLiteral("DELETE FROM entrada WHERE idImportacao = ?"),
                                   QStringLiteral("UPDATE transferencia SET idPar = NULL WHERE idPar IN "
                                                  "(SELECT idTransferencia FROM (SELECT idTransferencia FROM "
                                                  "transferencia WHERE idImportacao = ?) AS desfeitas)"),
                                   QStringLiteral("DELETE FROM transferencia WHERE idImportacao = ?")}) {
            if (feito.ok())
                feito = Sql::executa(sql, {idImportacao}, db);
        }
        if (feito.ok())
            feito = apagaNotas(idImportacao);
        if (feito.ok())
            feito = Sql::executa(QStringLiteral("DELETE FROM importacao WHERE idImportacao = ?"), {idImportacao}, db);
        return feito.ok() ? TabelaCompras::apagaSemParcelas(db) : feito;
    });
}

} // namespace HistoricoDeImportacoes
