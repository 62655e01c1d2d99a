#include "accounts/entradasantigas.h"

#include "database/sql.h"
#include "database/transacao.h"
#include "statements/layoutextrato.h"

#include <QSet>

namespace {

const QString chaveDaOferta = QStringLiteral("entradas_antigas_oferecidas");
const QString ofxDeConta = QStringLiteral("OFX — conta corrente");

const QString sqlOferecida = QStringLiteral("SELECT 1 FROM preferencia WHERE chave = ?");
const QString sqlAnota = QStringLiteral("INSERT IGNORE INTO preferencia (chave, valor) VALUES (?, NOW())");

// Negative expenses of imports of those layouts, as JSON texts, that a version
// without income stored: it kept no statement account, which this one's bank
// readers always give (a row the user chose to import as an expense has it).
const QString sqlCandidatas = QStringLiteral(
    "SELECT g.idGasto, g.valor, g.idImportacao FROM gastos g JOIN importacao i ON i.idImportacao = g.idImportacao "
    "JOIN JSON_TABLE(?, '$[*]' COLUMNS (layout VARCHAR(100) PATH '$')) AS l ON l.layout = i.layout "
    "WHERE g.valor < 0 AND g.contaExtrato IS NULL FOR UPDATE");

const QString sqlCopia = QStringLiteral(
    "INSERT INTO entrada (data, fornecedor, descricao, valor, idConta, idImportacao, idTransacao, contaExtrato) "
    "SELECT g.data, g.fornecedor, g.descricao, -g.valor, g.idConta, g.idImportacao, g.idTransacao, g.contaExtrato "
    "FROM gastos g JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS m ON m.id = g.idGasto");

const QStringList sqlsDepoisDaCopia {
    QStringLiteral("DELETE g FROM gastos g JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS m "
                   "ON m.id = g.idGasto"),
    QStringLiteral("DELETE r FROM gasto_repetido r JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS m "
                   "ON m.id = r.idGasto"),
    // Each import's total is of its expenses.
    QStringLiteral("UPDATE importacao i JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS m "
                   "ON m.id = i.idImportacao SET i.total = (SELECT COALESCE(SUM(valor), 0) FROM gastos g "
                   "WHERE g.idImportacao = i.idImportacao)"),
};

struct Candidatas
{
    QJsonArray ids;
    QJsonArray importacoes;
    qint64 centavos = 0;
};

Resultado<Candidatas> candidatas()
{
    QJsonArray layouts;
    for (const QString &layout : EntradasAntigas::layoutsDeConta())
        layouts.append(layout);
    Resultado<QSqlQuery> consulta = Sql::executa(sqlCandidatas, {Sql::json(layouts)});
    if (!consulta.ok())
        return consulta.motivo();
    Candidatas achadas;
    QSet<int> importacoes;
    for (QSqlQuery &q = consulta.valor(); q.next();) {
        achadas.ids.append(q.value(0).toInt());
        achadas.centavos -= qRound64(q.value(1).toDouble() * 100);
        importacoes.insert(q.value(2).toInt());
    }
    for (const int importacao : qAsConst(importacoes))
        achadas.importacoes.append(importacao);
    return achadas;
}

} // namespace

namespace EntradasAntigas {

QStringList layoutsDeConta()
{
    QStringList layouts {ofxDeConta};
    for (const LayoutExtrato &layout : layoutsDosBancos()) {
        if (layout.sinal == Sinal::SaidaNegativa && !layouts.contains(layout.nome))
            layouts << layout.nome;
    }
    return layouts;
}

Resultado<std::optional<Oferta>> aOferecer()
{
    Resultado<QSqlQuery> oferecida = Sql::executa(sqlOferecida, {chaveDaOferta});
    if (!oferecida.ok())
        return oferecida.motivo();
    if (oferecida.valor().next())
        return std::optional<Oferta>();
    const Resultado<Candidatas> achadas = candidatas();
    if (!achadas.ok())
        return achadas.motivo();
    const int quantas = achadas.valor().ids.size();
    if (quantas)
        return std::optional<Oferta>(Oferta {quantas, achadas.valor().centavos});
    // Offered once, after the upgrade: what is found later is this version's.
    const Resultado<> anotada = recusar();
    return anotada.ok() ? Resultado<std::optional<Oferta>>(std::nullopt)
                        : Resultado<std::optional<Oferta>>(anotada.motivo());
}

Resultado<> mover()
{
    return emTransacao(QSqlDatabase::database(), [] {
        const Resultado<Candidatas> achadas = candidatas();
        if (!achadas.ok())
            return Resultado<>(achadas.motivo());
        const QString ids = Sql::json(achadas.valor().ids);
        const QString importacoes = Sql::json(achadas.valor().importacoes);
        Resultado<> feito = Sql::executa(sqlCopia, {ids});
        for (int i = 0; i < sqlsDepoisDaCopia.size() && feito.ok(); ++i)
            feito = Sql::executa(sqlsDepoisDaCopia.at(i), {i < 2 ? ids : importacoes});
        return feito.ok() ? recusar() : feito;
    });
}

Resultado<> recusar()
{
    return Sql::executa(sqlAnota, {chaveDaOferta});
}

} // namespace EntradasAntigas
