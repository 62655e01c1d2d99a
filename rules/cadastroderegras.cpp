#include "rules/cadastroderegras.h"

#include "database/textojson.h"
#include "database/transacao.h"
#include "rules/candidatasdasregras.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Whether the text contains the rule's pattern, compared under the columns'
// collation, so case and accents do not count. A pattern typed in the rules
// window stands for itself (its %, _ and ! escaped); one made from the
// classification's filter is taken exactly as the filter takes it.
#define PADRAO_COMO_LIKE \
    "CONCAT('%', REPLACE(REPLACE(REPLACE(regra.padrao, '!', '!!'), '%', '!%'), '_', '!_'), '%') ESCAPE '!'"
#define CONTEM_O_PADRAO(texto) \
    "IF(regra.curingas, " texto " LIKE CONCAT('%', regra.padrao, '%'), " texto " LIKE " PADRAO_COMO_LIKE ")"
#define CASA_COM_A_REGRA                                                                 \
    "((regra.noFornecedor AND " CONTEM_O_PADRAO("gastos.fornecedor") ") " \
    "OR (regra.naDescricao AND " CONTEM_O_PADRAO("gastos.descricao") "))"
// Only the rule given, only while its category exists, only expenses without
// a category: none at all, or one deleted since, which every list and the
// report show as "Não Classificado" too.
#define APLICA_A_REGRA                                                             \
    "JOIN regra ON regra.idRegra = :regra "                                        \
    "JOIN categoria ON categoria.idCategoria = regra.idCategoria "                 \
    "SET gastos.idCategoria = regra.idCategoria "                                  \
    "WHERE NOT EXISTS (SELECT 1 FROM categoria AS atual "                          \
    "WHERE atual.idCategoria = gastos.idCategoria) AND " CASA_COM_A_REGRA
// Expenses handed over as a JSON array of keys.
#define DADAS "JSON_TABLE(:ids, '$[*]' COLUMNS (id INT PATH '$')) AS dadas ON gastos.idGasto = dadas.id "

const char sqlListar[] =
    "SELECT regra.idRegra, regra.padrao, regra.noFornecedor, regra.naDescricao, regra.idCategoria, "
    "categoria.categoria, regra.curingas FROM regra "
    "LEFT JOIN categoria ON categoria.idCategoria = regra.idCategoria ORDER BY regra.posicao, regra.idRegra";
// The first rule with the filter's pattern; it would win over a new one.
const char sqlDoPadrao[] =
    "SELECT idRegra FROM regra WHERE padrao = :padrao ORDER BY posicao, idRegra LIMIT 1 FOR UPDATE";
const char sqlDoFiltro[] =
    "UPDATE regra SET padrao = :padrao, noFornecedor = TRUE, naDescricao = TRUE, idCategoria = :categoria, "
    "curingas = TRUE WHERE idRegra = :regra";
const char sqlInserirDoFiltro[] =
    "INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria, curingas) "
    "SELECT COALESCE(MAX(posicao), 0) + 1, :padrao, TRUE, TRUE, :categoria, TRUE FROM regra";
const char sqlInserir[] =
    "INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria) "
    "SELECT COALESCE(MAX(posicao), 0) + 1, :padrao, :noFornecedor, :naDescricao, :categoria FROM regra";
const char sqlAlterar[] =
    "UPDATE regra SET padrao = :padrao, noFornecedor = :noFornecedor, naDescricao = :naDescricao, "
    "idCategoria = :categoria WHERE idRegra = :regra";
const char sqlApagar[] = "DELETE FROM regra WHERE idRegra = :regra";
const char sqlPosicao[] = "UPDATE regra SET posicao = :posicao WHERE idRegra = :regra";
const char sqlAplicar[] = "UPDATE gastos JOIN " DADAS APLICA_A_REGRA;
const char sqlSemCategoria[] =
    "SELECT gastos.idGasto, gastos.fornecedor, gastos.descricao FROM gastos LEFT JOIN categoria "
    "ON categoria.idCategoria = gastos.idCategoria WHERE categoria.idCategoria IS NULL";
// Texts, as a JSON array of [index, supplier, description], compared under
// the collation of gastos' columns.
const char sqlConfirmar[] =
    "SELECT gastos.n FROM JSON_TABLE(:linhas, '$[*]' COLUMNS (n INT PATH '$[0]', "
    "fornecedor VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[1]', "
    "descricao VARCHAR(1000) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[2]')) AS gastos "
    "JOIN regra ON regra.idRegra = :regra JOIN categoria ON categoria.idCategoria = regra.idCategoria "
    "WHERE " CASA_COM_A_REGRA;

const char sqlCategorias[] = "SELECT idCategoria, categoria FROM categoria ORDER BY categoria";

// Keys, and rows of texts, per statement: well inside the server's packet size.
const int chavesPorInstrucao = 50000;
const int linhasPorInstrucao = 5000;

using Valores = QList<QPair<QString, QVariant>>;
using Textos = QList<QPair<QString, QString>>;

// A statement without values goes as a fixed text, the others prepared.
bool executa(QSqlQuery &consulta, const char *sql, const Valores &valores = {})
{
    const QString texto = QString::fromUtf8(sql);
    if (!valores.isEmpty())
        consulta.prepare(texto);
    for (const auto &valor : valores)
        consulta.bindValue(valor.first, valor.second);
    if (valores.isEmpty() ? consulta.exec(texto) : consulta.exec())
        return true;
    qDebug() << "Erro nas regras de classificação:" << consulta.lastError().text();
    return false;
}

bool executa(const char *sql, const Valores &valores)
{
    QSqlQuery consulta;
    return executa(consulta, sql, valores);
}

Valores valoresDaRegra(const Regra &regra)
{
    const DescricaoDoCampo &campo = descricaoDoCampo(regra.campo);
    return {{QStringLiteral(":padrao"), regra.padrao.trimmed()},
            {QStringLiteral(":noFornecedor"), campo.noFornecedor},
            {QStringLiteral(":naDescricao"), campo.naDescricao},
            {QStringLiteral(":categoria"), regra.idCategoria}};
}

QList<Regra> ativas(const QList<Regra> &regras)
{
    QList<Regra> lista;
    for (const Regra &regra : regras) {
        if (!regra.categoriaApagada)
            lista << regra;
    }
    return lista;
}

QString jsonDasChaves(const QList<int> &ids)
{
    QStringList chaves;
    for (const int id : ids)
        chaves << QString::number(id);
    return listaJson(chaves);
}

QString jsonDosTextos(const Textos &textos, const QList<int> &indices)
{
    QStringList linhas;
    for (const int i : indices)
        linhas << QLatin1Char('[') + QString::number(i) + QLatin1Char(',') + textoJson(textos.at(i).first)
                      + QLatin1Char(',') + textoJson(textos.at(i).second) + QLatin1Char(']');
    return listaJson(linhas);
}

// For each row of texts (supplier, description), the index of the first rule
// it matches, -1 for none, found rule by rule in order: the client narrows
// each rule to the rows it may match that no earlier rule took, and the
// server judges those.
bool primeiras(const QList<Regra> &regras, const Textos &textos, QVector<int> *primeira)
{
    primeira->fill(-1, textos.size());
    CandidatasDasRegras candidatas(regras);
    for (int i = 0; i < textos.size(); ++i)
        candidatas.acrescenta(i, textos.at(i).first, textos.at(i).second);
    QSqlQuery consulta;
    for (int r = 0; r < regras.size(); ++r) {
        QList<int> abertas;
        for (const int i : candidatas.daRegra(r)) {
            if (primeira->at(i) < 0)
                abertas << i;
        }
        for (int de = 0; de < abertas.size(); de += linhasPorInstrucao) {
            const QString linhas = jsonDosTextos(textos, abertas.mid(de, linhasPorInstrucao));
            if (!executa(consulta, sqlConfirmar,
                         {{QStringLiteral(":regra"), regras.at(r).id}, {QStringLiteral(":linhas"), linhas}}))
                return false;
            while (consulta.next())
                (*primeira)[consulta.value(0).toInt()] = r;
        }
    }
    return true;
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

bool regrasAtivas(QList<Regra> *regras)
{
    QList<Regra> todas;
    if (!CadastroDeRegras::listar(&todas))
        return false;
    *regras = ativas(todas);
    return true;
}

bool leSemCategoria(SemCategoria *gastos)
{
    QSqlQuery linhas;
    if (!regrasAtivas(&gastos->regras) || !executa(linhas, sqlSemCategoria))
        return false;
    while (linhas.next()) {
        gastos->ids << linhas.value(0).toInt();
        gastos->textos << qMakePair(linhas.value(1).toString(), linhas.value(2).toString());
    }
    return primeiras(gastos->regras, gastos->textos, &gastos->primeira);
}

// What the count found, written rule by rule; each statement checks its rule
// again, for a row changed since it was read.
bool grava(const SemCategoria &gastos, int *classificadas)
{
    QVector<QList<int>> idsDaRegra(gastos.regras.size());
    for (int i = 0; i < gastos.ids.size(); ++i) {
        if (gastos.primeira.at(i) >= 0)
            idsDaRegra[gastos.primeira.at(i)] << gastos.ids.at(i);
    }
    QSqlQuery consulta;
    for (int r = 0; r < idsDaRegra.size(); ++r) {
        const QList<int> &ids = idsDaRegra.at(r);
        for (int de = 0; de < ids.size(); de += chavesPorInstrucao) {
            const QString chaves = jsonDasChaves(ids.mid(de, chavesPorInstrucao));
            const int regra = gastos.regras.at(r).id;
            if (!executa(consulta, sqlAplicar, {{QStringLiteral(":regra"), regra}, {QStringLiteral(":ids"), chaves}}))
                return false;
            *classificadas += consulta.numRowsAffected();
        }
    }
    return true;
}

} // namespace

bool CadastroDeRegras::listar(QList<Regra> *regras)
{
    QSqlQuery consulta;
    if (!executa(consulta, sqlListar))
        return false;
    regras->clear();
    while (consulta.next()) {
        Regra regra;
        regra.id = consulta.value(0).toInt();
        regra.padrao = consulta.value(1).toString();
        regra.campo = campoDosTextos(consulta.value(2).toBool(), consulta.value(3).toBool());
        regra.idCategoria = consulta.value(4).toInt();
        regra.categoria = consulta.value(5).toString();
        regra.categoriaApagada = consulta.value(5).isNull();
        regra.curingas = consulta.value(6).toBool();
        *regras << regra;
    }
    return true;
}

bool CadastroDeRegras::inserir(const Regra &regra)
{
    return executa(sqlInserir, valoresDaRegra(regra));
}

bool CadastroDeRegras::doFiltro(const QString &filtro, int idCategoria, bool *alterou)
{
    return emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        QSqlQuery consulta;
        if (!executa(consulta, sqlDoPadrao, {{QStringLiteral(":padrao"), filtro}}))
            return Motivo();
        *alterou = consulta.next();
        Valores valores {{QStringLiteral(":padrao"), filtro}, {QStringLiteral(":categoria"), idCategoria}};
        if (*alterou)
            valores << qMakePair(QStringLiteral(":regra"), consulta.value(0));
        if (executa(*alterou ? sqlDoFiltro : sqlInserirDoFiltro, valores))
            return Feito();
        return Motivo();
    }).ok();
}

bool CadastroDeRegras::alterar(const Regra &regra)
{
    return executa(sqlAlterar,
                   valoresDaRegra(regra) << qMakePair(QStringLiteral(":regra"), QVariant(regra.id)));
}

bool CadastroDeRegras::apagar(int idRegra)
{
    return executa(sqlApagar, {{QStringLiteral(":regra"), idRegra}});
}

bool CadastroDeRegras::reordenar(const QList<int> &idsNaOrdem)
{
    return emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        QSqlQuery consulta;
        for (int i = 0; i < idsNaOrdem.size(); ++i) {
            if (!executa(consulta, sqlPosicao,
                         {{QStringLiteral(":posicao"), i + 1}, {QStringLiteral(":regra"), idsNaOrdem.at(i)}}))
                return Motivo();
        }
        return Feito();
    }).ok();
}

bool CadastroDeRegras::contar(QHash<int, int> *porRegra)
{
    SemCategoria gastos;
    if (!leSemCategoria(&gastos))
        return false;
    porRegra->clear();
    for (const int r : qAsConst(gastos.primeira)) {
        if (r >= 0)
            ++(*porRegra)[gastos.regras.at(r).id];
    }
    return true;
}

bool CadastroDeRegras::aplicar(int *classificadas)
{
    *classificadas = 0;
    return emTransacao(QSqlDatabase::database(), [&]() -> Resultado<> {
        SemCategoria gastos;
        if (leSemCategoria(&gastos) && grava(gastos, classificadas))
            return Feito();
        return Motivo();
    }).ok();
}

bool CadastroDeRegras::categoriasDasNovas(const QList<QPair<QString, QString>> &textos,
                                         QVector<QVariant> *categorias)
{
    QList<Regra> regras;
    QVector<int> primeira;
    if (!regrasAtivas(&regras) || !primeiras(regras, textos, &primeira))
        return false;
    categorias->clear();
    for (const int r : qAsConst(primeira))
        *categorias << (r < 0 ? QVariant(QVariant::Int) : QVariant(regras.at(r).idCategoria));
    return true;
}

bool CadastroDeRegras::categorias(QList<QPair<int, QString>> *lista)
{
    QSqlQuery consulta;
    if (!executa(consulta, sqlCategorias))
        return false;
    lista->clear();
    while (consulta.next())
        *lista << qMakePair(consulta.value(0).toInt(), consulta.value(1).toString());
    return true;
}
