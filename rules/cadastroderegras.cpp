#include "rules/cadastroderegras.h"

#include "database/sql.h"
#include "database/transacao.h"
#include "rules/candidatasdasregras.h"

#include <QSqlQuery>

namespace {

// Whether an expense's text contains the rule's pattern, compared under the
// columns' collation, so case and accents do not count. A pattern typed in
// the rules window stands for itself (its %, _ and ! escaped); one made from
// the classification's filter is taken exactly as the filter takes it.
QString contemOPadrao(const QString &texto)
{
    return QStringLiteral("IF(regra.curingas, ") + texto + QStringLiteral(" LIKE CONCAT('%', regra.padrao, '%'), ")
           + texto
           + QStringLiteral(" LIKE CONCAT('%', REPLACE(REPLACE(REPLACE(regra.padrao, '!', '!!'), '%', '!%'), "
                            "'_', '!_'), '%') ESCAPE '!')");
}

const QString casaComARegra = QStringLiteral("((regra.noFornecedor AND ")
                              + contemOPadrao(QStringLiteral("gastos.fornecedor"))
                              + QStringLiteral(") OR (regra.naDescricao AND ")
                              + contemOPadrao(QStringLiteral("gastos.descricao")) + QStringLiteral("))");

const QString sqlListar = QStringLiteral(
    "SELECT regra.idRegra, regra.padrao, regra.noFornecedor, regra.naDescricao, regra.idCategoria, "
    "categoria.categoria, regra.curingas FROM regra "
    "LEFT JOIN categoria ON categoria.idCategoria = regra.idCategoria ORDER BY regra.posicao, regra.idRegra");
const QString sqlInserir = QStringLiteral(
    "INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria) "
    "SELECT COALESCE(MAX(posicao), 0) + 1, ?, ?, ?, ? FROM regra");
const QString sqlAlterar = QStringLiteral(
    "UPDATE regra SET padrao = ?, noFornecedor = ?, naDescricao = ?, idCategoria = ? WHERE idRegra = ?");
const QString sqlApagar = QStringLiteral("DELETE FROM regra WHERE idRegra = ?");
const QString sqlPosicao = QStringLiteral("UPDATE regra SET posicao = ? WHERE idRegra = ?");
// The first rule with the filter's pattern; it would win over a new one.
const QString sqlDoPadrao = QStringLiteral(
    "SELECT idRegra FROM regra WHERE padrao = ? ORDER BY posicao, idRegra LIMIT 1 FOR UPDATE");
const QString sqlAlterarDoFiltro = QStringLiteral(
    "UPDATE regra SET padrao = ?, noFornecedor = TRUE, naDescricao = TRUE, idCategoria = ?, curingas = TRUE "
    "WHERE idRegra = ?");
const QString sqlInserirDoFiltro = QStringLiteral(
    "INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria, curingas) "
    "SELECT COALESCE(MAX(posicao), 0) + 1, ?, TRUE, TRUE, ?, TRUE FROM regra");
// The expenses handed over as a JSON array of keys that the rule given
// matches, only while its category exists, only those without a category:
// none at all, or one deleted since, which every list and the report show as
// "Não Classificado" too.
const QString sqlAplicar =
    QStringLiteral("UPDATE gastos JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$')) AS dadas "
                   "ON gastos.idGasto = dadas.id "
                   "JOIN regra ON regra.idRegra = ? JOIN categoria ON categoria.idCategoria = regra.idCategoria "
                   "SET gastos.idCategoria = regra.idCategoria "
                   "WHERE NOT EXISTS (SELECT 1 FROM categoria AS atual WHERE atual.idCategoria = gastos.idCategoria) "
                   "AND ")
    + casaComARegra;
const QString sqlSemCategoria = QStringLiteral(
    "SELECT gastos.idGasto, gastos.fornecedor, gastos.descricao FROM gastos LEFT JOIN categoria "
    "ON categoria.idCategoria = gastos.idCategoria WHERE categoria.idCategoria IS NULL");
// Texts, as a JSON array of [index, supplier, description], compared under
// the collation of gastos' columns.
const QString sqlConfirmar =
    QStringLiteral("SELECT gastos.n FROM JSON_TABLE(?, '$[*]' COLUMNS (n INT PATH '$[0]', "
                   "fornecedor VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[1]', "
                   "descricao VARCHAR(1000) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[2]')) "
                   "AS gastos JOIN regra ON regra.idRegra = ? "
                   "JOIN categoria ON categoria.idCategoria = regra.idCategoria WHERE ")
    + casaComARegra;
const QString sqlCategorias = QStringLiteral("SELECT idCategoria, categoria FROM categoria ORDER BY categoria");

// Keys, and rows of texts, per statement: well inside the server's packet size.
const int chavesPorInstrucao = 50000;
const int linhasPorInstrucao = 5000;

using Textos = QList<QPair<QString, QString>>;

QVariantList valoresDaRegra(const Regra &regra)
{
    const DescricaoDoCampo &campo = descricaoDoCampo(regra.campo);
    return {regra.padrao.trimmed(), campo.noFornecedor, campo.naDescricao, regra.idCategoria};
}

QString jsonDasChaves(const QList<int> &ids)
{
    QJsonArray chaves;
    for (const int id : ids)
        chaves.append(id);
    return Sql::json(chaves);
}

QString jsonDosTextos(const Textos &textos, const QList<int> &indices)
{
    QJsonArray linhas;
    for (const int i : indices)
        linhas.append(QJsonArray {i, textos.at(i).first, textos.at(i).second});
    return Sql::json(linhas);
}

// For each row of texts (supplier, description), the index of the first rule
// it matches, -1 for none, found rule by rule in order: the client narrows
// each rule to the rows it may match that no earlier rule took, and the
// server judges those.
Resultado<QVector<int>> primeiras(const QList<Regra> &regras, const Textos &textos)
{
    QVector<int> primeira(textos.size(), -1);
    CandidatasDasRegras candidatas(regras);
    for (int i = 0; i < textos.size(); ++i)
        candidatas.acrescenta(i, textos.at(i).first, textos.at(i).second);
    for (int r = 0; r < regras.size(); ++r) {
        QList<int> abertas;
        for (const int i : candidatas.daRegra(r)) {
            if (primeira.at(i) < 0)
                abertas << i;
        }
        for (int de = 0; de < abertas.size(); de += linhasPorInstrucao) {
            const QString linhas = jsonDosTextos(textos, abertas.mid(de, linhasPorInstrucao));
            Resultado<QSqlQuery> casadas = Sql::executa(sqlConfirmar, {linhas, regras.at(r).id});
            if (!casadas.ok())
                return casadas.motivo();
            while (casadas.valor().next())
                primeira[casadas.valor().value(0).toInt()] = r;
        }
    }
    return primeira;
}

// The rules that can apply: those whose category still exists.
Resultado<QList<Regra>> regrasAtivas()
{
    const Resultado<QList<Regra>> todas = CadastroDeRegras::listar();
    if (!todas.ok())
        return todas;
    QList<Regra> ativas;
    for (const Regra &regra : todas.valor()) {
        if (!regra.categoriaApagada)
            ativas << regra;
    }
    return ativas;
}

// The expenses without category, their keys and texts, and the index of the
// first active rule each matches.
struct SemCategoria
{
    QList<Regra> regras;
    QList<int> ids;
    Textos textos;
    QVector<int> primeira;
};

Resultado<SemCategoria> leSemCategoria()
{
    SemCategoria gastos;
    const Resultado<QList<Regra>> regras = regrasAtivas();
    if (!regras.ok())
        return regras.motivo();
    gastos.regras = regras.valor();
    Resultado<QSqlQuery> linhas = Sql::executa(sqlSemCategoria);
    if (!linhas.ok())
        return linhas.motivo();
    while (linhas.valor().next()) {
        gastos.ids << linhas.valor().value(0).toInt();
        gastos.textos << qMakePair(linhas.valor().value(1).toString(), linhas.valor().value(2).toString());
    }
    const Resultado<QVector<int>> primeira = primeiras(gastos.regras, gastos.textos);
    if (!primeira.ok())
        return primeira.motivo();
    gastos.primeira = primeira.valor();
    return gastos;
}

// What the count found, written rule by rule; each statement checks its rule
// again, for a row changed since it was read. The value is how many rows
// were classified.
Resultado<int> grava(const SemCategoria &gastos)
{
    QVector<QList<int>> idsDaRegra(gastos.regras.size());
    for (int i = 0; i < gastos.ids.size(); ++i) {
        if (gastos.primeira.at(i) >= 0)
            idsDaRegra[gastos.primeira.at(i)] << gastos.ids.at(i);
    }
    int classificadas = 0;
    for (int r = 0; r < idsDaRegra.size(); ++r) {
        const QList<int> &ids = idsDaRegra.at(r);
        for (int de = 0; de < ids.size(); de += chavesPorInstrucao) {
            const QString chaves = jsonDasChaves(ids.mid(de, chavesPorInstrucao));
            const Resultado<QSqlQuery> feito = Sql::executa(sqlAplicar, {chaves, gastos.regras.at(r).id});
            if (!feito.ok())
                return feito.motivo();
            classificadas += feito.valor().numRowsAffected();
        }
    }
    return classificadas;
}

} // namespace

namespace CadastroDeRegras {

Resultado<QList<Regra>> listar()
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlListar);
    if (!consulta.ok())
        return consulta.motivo();
    QList<Regra> regras;
    QSqlQuery &linhas = consulta.valor();
    while (linhas.next()) {
        Regra regra;
        regra.id = linhas.value(0).toInt();
        regra.padrao = linhas.value(1).toString();
        regra.campo = campoDosTextos(linhas.value(2).toBool(), linhas.value(3).toBool());
        regra.idCategoria = linhas.value(4).toInt();
        regra.categoria = linhas.value(5).toString();
        regra.categoriaApagada = linhas.value(5).isNull();
        regra.curingas = linhas.value(6).toBool();
        regras << regra;
    }
    return regras;
}

Resultado<> inserir(const Regra &regra)
{
    return Sql::executa(sqlInserir, valoresDaRegra(regra));
}

Resultado<> alterar(const Regra &regra)
{
    return Sql::executa(sqlAlterar, valoresDaRegra(regra) << regra.id);
}

Resultado<> apagar(int idRegra)
{
    return Sql::executa(sqlApagar, {idRegra});
}

Resultado<> reordenar(const QList<int> &idsNaOrdem)
{
    return emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        for (int i = 0; i < idsNaOrdem.size(); ++i) {
            const Resultado<QSqlQuery> feito = Sql::executa(sqlPosicao, {i + 1, idsNaOrdem.at(i)});
            if (!feito.ok())
                return feito;
        }
        return Feito();
    });
}

Resultado<bool> criarDoFiltro(const QString &filtro, int idCategoria)
{
    bool alterou = false;
    const Resultado<> feito = emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        Resultado<QSqlQuery> existente = Sql::executa(sqlDoPadrao, {filtro});
        if (!existente.ok())
            return existente;
        alterou = existente.valor().next();
        if (alterou)
            return Sql::executa(sqlAlterarDoFiltro, {filtro, idCategoria, existente.valor().value(0)});
        return Sql::executa(sqlInserirDoFiltro, {filtro, idCategoria});
    });
    if (!feito.ok())
        return feito.motivo();
    return alterou;
}

Resultado<QHash<int, int>> contar()
{
    const Resultado<SemCategoria> gastos = leSemCategoria();
    if (!gastos.ok())
        return gastos.motivo();
    QHash<int, int> porRegra;
    for (const int r : gastos.valor().primeira) {
        if (r >= 0)
            ++porRegra[gastos.valor().regras.at(r).id];
    }
    return porRegra;
}

Resultado<int> aplicar()
{
    int classificadas = 0;
    const Resultado<> feito = emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        const Resultado<SemCategoria> gastos = leSemCategoria();
        if (!gastos.ok())
            return gastos.motivo();
        const Resultado<int> gravadas = grava(gastos.valor());
        if (gravadas.ok())
            classificadas = gravadas.valor();
        return gravadas;
    });
    if (!feito.ok())
        return feito.motivo();
    return classificadas;
}

Resultado<QVector<QVariant>> categoriasDasNovas(const QList<QPair<QString, QString>> &textos)
{
    const Resultado<QList<Regra>> regras = regrasAtivas();
    if (!regras.ok())
        return regras.motivo();
    const Resultado<QVector<int>> primeira = primeiras(regras.valor(), textos);
    if (!primeira.ok())
        return primeira.motivo();
    QVector<QVariant> categorias;
    for (const int r : primeira.valor())
        categorias << (r < 0 ? QVariant(QVariant::Int) : QVariant(regras.valor().at(r).idCategoria));
    return categorias;
}

Resultado<QList<QPair<int, QString>>> categorias()
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlCategorias);
    if (!consulta.ok())
        return consulta.motivo();
    QList<QPair<int, QString>> lista;
    while (consulta.valor().next())
        lista << qMakePair(consulta.valor().value(0).toInt(), consulta.valor().value(1).toString());
    return lista;
}

} // namespace CadastroDeRegras
