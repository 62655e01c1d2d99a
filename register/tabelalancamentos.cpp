#include "register/tabelalancamentos.h"

#include "database/sql.h"
#include "database/transacao.h"
#include "instalments/tabelacompras.h"
#include "messages/formatacao.h"
#include "statements/valor.h"

#include <numeric>

namespace {

// A row of the register: the expense with the names its keys refer to.
const QString sqlColunas = QStringLiteral(
    "SELECT g.idGasto, g.data, g.fornecedor, g.descricao, IFNULL(c.categoria, 'Não Classificado'), "
    "CAST(g.valor * 100 AS SIGNED), ct.nome, i.arquivo, i.quando, g.idDivisao IS NOT NULL FROM gastos g");
const QString sqlJuncoes = QStringLiteral(
    " LEFT JOIN categoria c ON c.idCategoria = g.idCategoria LEFT JOIN conta ct ON ct.idConta = g.idConta"
    " LEFT JOIN importacao i ON i.idImportacao = g.idImportacao");

// A searched text may match few rows: reading the newest first through the
// date index would then visit the whole table row by row, several times
// slower than reading it once and sorting what matched.
const QString sqlSemIndiceDaData = QStringLiteral(" IGNORE INDEX FOR ORDER BY (ix_gastos_data_id)");

// What each column sorts by, in ColunaLancamento's order: what it shows,
// amounts as numbers and imports by when they were made.
const char *const ordens[colunasDeLancamento] = {
    "g.data", "g.fornecedor", "g.descricao", "IFNULL(c.categoria, 'Não Classificado')", "g.valor", "ct.nome", "i.quando"};

const QString sqlResumo = QStringLiteral("SELECT COUNT(*), CAST(IFNULL(SUM(g.valor), 0) * 100 AS SIGNED) FROM gastos g");

const QString sqlLer = QStringLiteral(
    "SELECT idGasto, data, fornecedor, descricao, CAST(valor * 100 AS SIGNED), IFNULL(idCategoria, 0), "
    "IFNULL(idConta, 0) FROM gastos WHERE idGasto = ?");
const QString sqlInserir = QStringLiteral(
    "INSERT INTO gastos (data, fornecedor, descricao, valor, idCategoria, idConta) VALUES (?, ?, ?, ?, ?, ?)");
// Before the first change by hand, an imported expense (the first part of a
// split one) keeps what its file said. The condition reads the columns as
// they were, and each is read before it is set, in either assignment order.
const QString sqlGuardaOExtrato = QStringLiteral(
    "fornecedorNoExtrato = IF(%1, fornecedor, fornecedorNoExtrato), descricaoNoExtrato = IF(%1, descricao, "
    "descricaoNoExtrato), valorNoExtrato = IF(%1, valor, valorNoExtrato), dataNoExtrato = IF(%1, data, dataNoExtrato), ")
    .arg(QStringLiteral("dataNoExtrato IS NULL AND idImportacao IS NOT NULL AND IFNULL(idDivisao, idGasto) = idGasto"));
const QString sqlAlterar = QStringLiteral("UPDATE gastos SET ") + sqlGuardaOExtrato + QStringLiteral(
    "data = ?, fornecedor = ?, descricao = ?, valor = ?, idCategoria = ?, idConta = ? WHERE idGasto = ?");
// Whatever an import noted of the expense goes with it.
const QString sqlApagar = QStringLiteral(
    "DELETE g, r FROM gastos g LEFT JOIN gasto_repetido r ON r.idGasto = g.idGasto WHERE g.idGasto = ?");

const QString sqlValorADividir = QStringLiteral(
    "SELECT CAST(valor * 100 AS SIGNED) FROM gastos WHERE idGasto = ? FOR UPDATE");
const QString sqlPrimeiraParte = QStringLiteral("UPDATE gastos SET ") + sqlGuardaOExtrato + QStringLiteral(
    "valor = ?, idCategoria = ?, idDivisao = IFNULL(idDivisao, idGasto) WHERE idGasto = ?");
const QString sqlOutraParte = QStringLiteral(
    "INSERT INTO gastos (data, fornecedor, descricao, valor, idCategoria, idConta, idImportacao, contaExtrato, "
    "idDivisao) SELECT data, fornecedor, descricao, ?, ?, idConta, idImportacao, contaExtrato, idDivisao "
    "FROM gastos WHERE idGasto = ?");
// An import that left out a row as repeating the expense repeated all its
// parts: undoing one import then keeps or deletes them together.
const QString sqlRepetidaComoAParte = QStringLiteral(
    "INSERT INTO gasto_repetido (idImportacao, idGasto) SELECT idImportacao, ? FROM gasto_repetido WHERE idGasto = ?");

// "50%" finds itself, not "50" followed by anything: "!" escapes LIKE's wildcards.
QString contendo(const QString &texto)
{
    QString escapado = texto;
    escapado.replace(QLatin1Char('!'), QLatin1String("!!"))
        .replace(QLatin1Char('%'), QLatin1String("!%"))
        .replace(QLatin1Char('_'), QLatin1String("!_"));
    return QLatin1Char('%') + escapado + QLatin1Char('%');
}

// The conditions the filter sets, each a fixed text with its values bound.
// Those it does not set are left out, so that the server plans on the
// columns used: without a search, the count and total read one index only.
struct Condicoes
{
    QString sql;
    QVariantList valores;
};

Condicoes condicoes(const FiltroLancamentos &filtro)
{
    QStringList sql;
    QVariantList valores;
    const QString texto = filtro.texto.trimmed();
    if (!texto.isEmpty()) {
        sql << QStringLiteral("(g.fornecedor LIKE ? ESCAPE '!' OR g.descricao LIKE ? ESCAPE '!')");
        valores << contendo(texto) << contendo(texto);
    }
    if (filtro.de.isValid()) {
        sql << QStringLiteral("g.data >= ?");
        valores << filtro.de;
    }
    if (filtro.ate.isValid()) {
        sql << QStringLiteral("g.data < ?");
        valores << filtro.ate.addMonths(1);
    }
    if (filtro.idCategoria == FiltroLancamentos::nenhuma)
        sql << QStringLiteral("NOT EXISTS (SELECT 1 FROM categoria s WHERE s.idCategoria = g.idCategoria)");
    if (filtro.idCategoria > FiltroLancamentos::nenhuma) {
        sql << QStringLiteral("g.idCategoria = ?");
        valores << filtro.idCategoria;
    }
    if (filtro.idConta == FiltroLancamentos::nenhuma)
        sql << QStringLiteral("g.idConta IS NULL");
    if (filtro.idConta > FiltroLancamentos::nenhuma) {
        sql << QStringLiteral("g.idConta = ?");
        valores << filtro.idConta;
    }
    return {sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + sql.join(QStringLiteral(" AND ")), valores};
}

QString sqlPagina(const FiltroLancamentos &filtro, const Condicoes &onde)
{
    const QString sentido = filtro.sentido == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    // The key last, so that consecutive pages never share or skip a row.
    return sqlColunas + (filtro.texto.trimmed().isEmpty() ? QString() : sqlSemIndiceDaData) + sqlJuncoes + onde.sql
           + QStringLiteral(" ORDER BY ") + QString::fromUtf8(ordens[int(filtro.ordem)]) + sentido
           + QStringLiteral(", g.idGasto") + sentido + QStringLiteral(" LIMIT ? OFFSET ?");
}

LinhaLancamento linhaDa(const QSqlQuery &q)
{
    return {q.value(0).toInt(), q.value(1).toDate(), q.value(2).toString(), q.value(3).toString(),
            q.value(4).toString(), q.value(5).toLongLong(), q.value(6).toString(), q.value(7).toString(),
            q.value(8).toDateTime(), q.value(9).toBool()};
}

QVariant chaveOuNula(int id)
{
    return id ? QVariant(id) : QVariant(QVariant::Int);
}

// An empty text is stored as such, like an import's, never as NULL.
QVariant texto(const QString &campo)
{
    return campo.isNull() ? QStringLiteral("") : campo.trimmed();
}

Motivo gastoApagado()
{
    return {QStringLiteral("O gasto não existe mais: foi apagado depois que a lista foi lida."), {}, {}};
}

Resultado<> conferePartes(const QVector<TabelaLancamentos::Parte> &partes)
{
    if (partes.size() < 2)
        return Motivo {QStringLiteral("Divida o gasto em duas partes ou mais."), {}, {}};
    for (const TabelaLancamentos::Parte &parte : partes) {
        if (parte.centavos == 0)
            return Motivo {QStringLiteral("Nenhuma parte pode ser de %1.").arg(centavosEmReais(0)), {}, {}};
    }
    return Feito();
}

// Inside the split's transaction, the expense's amount locked as it is now.
Resultado<> confereSoma(int idGasto, const QVector<TabelaLancamentos::Parte> &partes)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlValorADividir, {idGasto});
    if (!consulta.ok())
        return consulta.motivo();
    if (!consulta.valor().next())
        return gastoApagado();
    const qint64 valor = consulta.valor().value(0).toLongLong();
    const qint64 soma = std::accumulate(partes.begin(), partes.end(), qint64(0),
                                        [](qint64 total, const TabelaLancamentos::Parte &p) { return total + p.centavos; });
    if (soma == valor)
        return Feito();
    return Motivo {QStringLiteral("As partes somam %1, e o gasto é de %2: a soma das partes precisa ser igual "
                                  "ao valor do gasto, centavo por centavo.")
                       .arg(centavosEmReais(soma), centavosEmReais(valor)),
                   {}, {}};
}

} // namespace

namespace TabelaLancamentos {

Resultado<QVector<LinhaLancamento>> pagina(const FiltroLancamentos &filtro, int inicio, int quantas)
{
    const Condicoes onde = condicoes(filtro);
    Resultado<QSqlQuery> consulta = Sql::executa(sqlPagina(filtro, onde), onde.valores + QVariantList {quantas, inicio});
    if (!consulta.ok())
        return consulta.motivo();
    QVector<LinhaLancamento> linhas;
    for (QSqlQuery &q = consulta.valor(); q.next();)
        linhas << linhaDa(q);
    return linhas;
}

Resultado<Resumo> resumo(const FiltroLancamentos &filtro)
{
    const Condicoes onde = condicoes(filtro);
    Resultado<QSqlQuery> consulta = Sql::executa(sqlResumo + onde.sql, onde.valores);
    if (!consulta.ok())
        return consulta.motivo();
    QSqlQuery &q = consulta.valor();
    return q.next() ? Resumo {q.value(0).toInt(), q.value(1).toLongLong()} : Resumo();
}

Resultado<std::optional<LinhaLancamento>> linha(int idGasto)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlColunas + sqlJuncoes + QStringLiteral(" WHERE g.idGasto = ?"), {idGasto});
    if (!consulta.ok())
        return consulta.motivo();
    return consulta.valor().next() ? std::optional<LinhaLancamento>(linhaDa(consulta.valor())) : std::nullopt;
}

Resultado<Gasto> ler(int idGasto)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlLer, {idGasto});
    if (!consulta.ok())
        return consulta.motivo();
    QSqlQuery &q = consulta.valor();
    if (!q.next())
        return gastoApagado();
    return Gasto {q.value(0).toInt(), q.value(1).toDate(), q.value(2).toString(), q.value(3).toString(),
                  q.value(4).toLongLong(), q.value(5).toInt(), q.value(6).toInt()};
}

Resultado<int> gravar(const Gasto &gasto)
{
    QVariantList valores {gasto.data, texto(gasto.fornecedor), texto(gasto.descricao), valorParaBanco(gasto.centavos),
                          chaveOuNula(gasto.idCategoria), chaveOuNula(gasto.idConta)};
    if (gasto.id)
        valores << gasto.id;
    Resultado<QSqlQuery> feito = Sql::executa(gasto.id ? sqlAlterar : sqlInserir, valores);
    if (!feito.ok())
        return feito.motivo();
    return gasto.id ? gasto.id : feito.valor().lastInsertId().toInt();
}

Resultado<> apagar(const QVector<int> &idsGastos)
{
    return emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        for (const int idGasto : idsGastos) {
            const Resultado<QSqlQuery> apagado = Sql::executa(sqlApagar, {idGasto});
            if (!apagado.ok())
                return apagado.motivo();
        }
        return TabelaCompras::apagaSemParcelas(QSqlDatabase::database()); // its last instalment gone
    });
}

Resultado<> dividir(int idGasto, const QVector<Parte> &partes)
{
    const Resultado<> conferidas = conferePartes(partes);
    if (!conferidas.ok())
        return conferidas;
    return emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        const Resultado<> somadas = confereSoma(idGasto, partes);
        if (!somadas.ok())
            return somadas;
        const Parte &primeira = partes.first();
        Resultado<QSqlQuery> feito =
            Sql::executa(sqlPrimeiraParte, {valorParaBanco(primeira.centavos), chaveOuNula(primeira.idCategoria), idGasto});
        for (int i = 1; feito.ok() && i < partes.size(); ++i) {
            feito = Sql::executa(sqlOutraParte, {valorParaBanco(partes.at(i).centavos),
                                                 chaveOuNula(partes.at(i).idCategoria), idGasto});
            if (feito.ok())
                feito = Sql::executa(sqlRepetidaComoAParte, {feito.valor().lastInsertId(), idGasto});
        }
        return feito;
    });
}

} // namespace TabelaLancamentos
