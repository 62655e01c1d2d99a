#include "rules/cadastroderegras.h"

#include "rules/candidatasdasregras.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>

namespace {

// The rule's pattern as LIKE takes it: its own %, _ and ! stand for
// themselves. Compared under the columns' collation, so case and accents
// do not count.
#define PADRAO_COMO_LIKE \
    "CONCAT('%', REPLACE(REPLACE(REPLACE(regra.padrao, '!', '!!'), '%', '!%'), '_', '!_'), '%') ESCAPE '!'"
#define CASA_COM_A_REGRA                                                  \
    "((regra.noFornecedor AND gastos.fornecedor LIKE " PADRAO_COMO_LIKE ") " \
    "OR (regra.naDescricao AND gastos.descricao LIKE " PADRAO_COMO_LIKE "))"
// Only the rule given, only while its category exists, only empty categories.
#define APLICA_A_REGRA                                                             \
    "JOIN regra ON regra.idRegra = :regra "                                        \
    "JOIN categoria ON categoria.idCategoria = regra.idCategoria "                 \
    "SET gastos.idCategoria = regra.idCategoria "                                  \
    "WHERE gastos.idCategoria IS NULL AND " CASA_COM_A_REGRA
// Expenses handed over as a JSON array of keys.
#define DADAS "JSON_TABLE(:ids, '$[*]' COLUMNS (id INT PATH '$')) AS dadas ON gastos.idGasto = dadas.id "

const char sqlListar[] =
    "SELECT regra.idRegra, regra.padrao, regra.noFornecedor, regra.naDescricao, regra.idCategoria, "
    "categoria.categoria FROM regra LEFT JOIN categoria ON categoria.idCategoria = regra.idCategoria "
    "ORDER BY regra.posicao, regra.idRegra";
const char sqlInserir[] =
    "INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria) "
    "SELECT COALESCE(MAX(posicao), 0) + 1, :padrao, :noFornecedor, :naDescricao, :categoria FROM regra";
const char sqlAlterar[] =
    "UPDATE regra SET padrao = :padrao, noFornecedor = :noFornecedor, naDescricao = :naDescricao, "
    "idCategoria = :categoria WHERE idRegra = :regra";
const char sqlApagar[] = "DELETE FROM regra WHERE idRegra = :regra";
const char sqlPosicao[] = "UPDATE regra SET posicao = :posicao WHERE idRegra = :regra";
const char sqlContar[] =
    "SELECT primeira, COUNT(*) FROM ("
    "SELECT regra.idRegra AS primeira, ROW_NUMBER() OVER "
    "(PARTITION BY gastos.idGasto ORDER BY regra.posicao, regra.idRegra) AS ordem "
    "FROM gastos JOIN regra ON " CASA_COM_A_REGRA " "
    "JOIN categoria ON categoria.idCategoria = regra.idCategoria "
    "WHERE gastos.idCategoria IS NULL) AS casamentos "
    "WHERE ordem = 1 GROUP BY primeira";
const char sqlAplicar[] = "UPDATE gastos JOIN " DADAS APLICA_A_REGRA;
const char sqlSemCategoria[] = "SELECT idGasto, fornecedor, descricao FROM gastos WHERE idCategoria IS NULL";
// Texts not yet written, as a JSON array of [index, supplier, description],
// compared under the collation of gastos' columns.
const char sqlConfirmar[] =
    "SELECT gastos.n FROM JSON_TABLE(:linhas, '$[*]' COLUMNS (n INT PATH '$[0]', "
    "fornecedor VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[1]', "
    "descricao VARCHAR(1000) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[2]')) AS gastos "
    "JOIN regra ON regra.idRegra = :regra JOIN categoria ON categoria.idCategoria = regra.idCategoria "
    "WHERE " CASA_COM_A_REGRA;

// Keys, and rows of texts, per statement: well inside the server's packet size.
const int chavesPorInstrucao = 50000;
const int linhasPorInstrucao = 5000;
const char sqlCategorias[] = "SELECT idCategoria, categoria FROM categoria ORDER BY categoria";

using Valores = QList<QPair<QString, QVariant>>;

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

QString emJson(const QList<int> &ids)
{
    QStringList textos;
    textos.reserve(ids.size());
    for (const int id : ids)
        textos << QString::number(id);
    return QLatin1Char('[') + textos.join(QLatin1Char(',')) + QLatin1Char(']');
}

// Every rule in order over the rows of `linhas` (key, supplier, description): the
// client narrows each rule to the rows it may match, and the server judges those.
bool aplicaEmOrdem(QSqlQuery &linhas, const QList<Regra> &regras, int *classificadas)
{
    CandidatasDasRegras candidatas(regras);
    while (linhas.next())
        candidatas.acrescenta(linhas.value(0).toInt(), linhas.value(1).toString(), linhas.value(2).toString());
    *classificadas = 0;
    QSqlQuery consulta;
    for (int i = 0; i < regras.size(); ++i) {
        const QList<int> &ids = candidatas.daRegra(i);
        for (int de = 0; de < ids.size(); de += chavesPorInstrucao) {
            if (!executa(consulta, sqlAplicar, {{QStringLiteral(":regra"), regras.at(i).id},
                                                {QStringLiteral(":ids"), emJson(ids.mid(de, chavesPorInstrucao))}}))
                return false;
            *classificadas += consulta.numRowsAffected();
        }
    }
    return true;
}

// Asks the server which of these rows the rule matches, and gives them its category.
bool confirma(QSqlQuery &consulta, const Regra &regra, const QList<QPair<QString, QString>> &textos,
              const QList<int> &indices, QVector<QVariant> *categorias)
{
    QJsonArray linhas;
    for (const int i : indices)
        linhas.append(QJsonArray {i, textos.at(i).first, textos.at(i).second});
    const QString json = QString::fromUtf8(QJsonDocument(linhas).toJson(QJsonDocument::Compact));
    if (!executa(consulta, sqlConfirmar, {{QStringLiteral(":regra"), regra.id}, {QStringLiteral(":linhas"), json}}))
        return false;
    while (consulta.next())
        (*categorias)[consulta.value(0).toInt()] = regra.idCategoria;
    return true;
}

bool regrasAtivas(QList<Regra> *regras)
{
    QList<Regra> todas;
    if (!CadastroDeRegras::listar(&todas))
        return false;
    *regras = ativas(todas);
    return true;
}

bool transacao(const std::function<bool()> &trabalho)
{
    QSqlDatabase banco = QSqlDatabase::database();
    if (!banco.transaction()) {
        qDebug() << "Erro ao iniciar a transação:" << banco.lastError().text();
        return false;
    }
    if (trabalho() && banco.commit())
        return true;
    qDebug() << "Regras: desfazendo a transação:" << banco.lastError().text();
    banco.rollback();
    return false;
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
        *regras << regra;
    }
    return true;
}

bool CadastroDeRegras::inserir(const Regra &regra)
{
    return executa(sqlInserir, valoresDaRegra(regra));
}

bool CadastroDeRegras::alterar(const Regra &regra)
{
    return executa(sqlAlterar, valoresDaRegra(regra) << qMakePair(QStringLiteral(":regra"), QVariant(regra.id)));
}

bool CadastroDeRegras::apagar(int idRegra)
{
    return executa(sqlApagar, {{QStringLiteral(":regra"), idRegra}});
}

bool CadastroDeRegras::reordenar(const QList<int> &idsNaOrdem)
{
    return transacao([&] {
        QSqlQuery consulta;
        for (int i = 0; i < idsNaOrdem.size(); ++i) {
            if (!executa(consulta, sqlPosicao,
                         {{QStringLiteral(":posicao"), i + 1}, {QStringLiteral(":regra"), idsNaOrdem.at(i)}}))
                return false;
        }
        return true;
    });
}

bool CadastroDeRegras::contar(QHash<int, int> *porRegra)
{
    QSqlQuery consulta;
    if (!executa(consulta, sqlContar))
        return false;
    porRegra->clear();
    while (consulta.next())
        porRegra->insert(consulta.value(0).toInt(), consulta.value(1).toInt());
    return true;
}

bool CadastroDeRegras::aplicar(int *classificadas)
{
    *classificadas = 0;
    QList<Regra> regras;
    return regrasAtivas(&regras) && transacao([&] {
        QSqlQuery linhas;
        return executa(linhas, sqlSemCategoria) && aplicaEmOrdem(linhas, regras, classificadas);
    });
}

bool CadastroDeRegras::categoriasDasNovas(const QList<QPair<QString, QString>> &textos,
                                         QVector<QVariant> *categorias)
{
    categorias->fill(QVariant(QVariant::Int), textos.size());
    QList<Regra> regras;
    if (!regrasAtivas(&regras))
        return false;
    CandidatasDasRegras candidatas(regras);
    for (int i = 0; i < textos.size(); ++i)
        candidatas.acrescenta(i, textos.at(i).first, textos.at(i).second);
    // Rule by rule in order, each asked only about the rows no rule before it took.
    QSqlQuery consulta;
    for (int r = 0; r < regras.size(); ++r) {
        QList<int> abertas;
        for (const int i : candidatas.daRegra(r)) {
            if (categorias->at(i).isNull())
                abertas << i;
        }
        for (int de = 0; de < abertas.size(); de += linhasPorInstrucao) {
            if (!confirma(consulta, regras.at(r), textos, abertas.mid(de, linhasPorInstrucao), categorias))
                return false;
        }
    }
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
