#include "rules/cadastroderegras.h"

#include "rules/candidatasdasregras.h"

#include <QDebug>
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
// The import's new rows, handed over as a JSON array of keys.
#define NOVAS "JSON_TABLE(:ids, '$[*]' COLUMNS (id INT PATH '$')) AS novas ON gastos.idGasto = novas.id "

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
const char sqlAplicar[] = "UPDATE gastos " APLICA_A_REGRA;
const char sqlAplicarAsNovas[] = "UPDATE gastos JOIN " NOVAS APLICA_A_REGRA;
const char sqlNovas[] = "SELECT gastos.idGasto, gastos.fornecedor, gastos.descricao FROM gastos JOIN " NOVAS;
const char sqlCategorias[] = "SELECT idCategoria, categoria FROM categoria ORDER BY categoria";

using Valores = QList<QPair<QString, QVariant>>;

bool executa(QSqlQuery &consulta, const char *sql, const Valores &valores = {})
{
    consulta.prepare(QString::fromUtf8(sql));
    for (const auto &valor : valores)
        consulta.bindValue(valor.first, valor.second);
    if (consulta.exec())
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

// One rule's statement, its rows added to the count.
bool aplicaUma(QSqlQuery &consulta, const char *sql, const Valores &valores, int *classificadas)
{
    if (!executa(consulta, sql, valores))
        return false;
    *classificadas += consulta.numRowsAffected();
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
        QSqlQuery consulta;
        for (const Regra &regra : qAsConst(regras)) {
            if (!aplicaUma(consulta, sqlAplicar, {{QStringLiteral(":regra"), regra.id}}, classificadas))
                return false;
        }
        return true;
    });
}

bool CadastroDeRegras::aplicarAsNovas(const QList<int> &idsGastos, int *classificadas)
{
    *classificadas = 0;
    QList<Regra> regras;
    if (!regrasAtivas(&regras))
        return false;
    if (regras.isEmpty() || idsGastos.isEmpty())
        return true;
    QSqlQuery novas;
    if (!executa(novas, sqlNovas, {{QStringLiteral(":ids"), emJson(idsGastos)}}))
        return false;
    CandidatasDasRegras candidatas(regras);
    while (novas.next())
        candidatas.acrescenta(novas.value(0).toInt(), novas.value(1).toString(), novas.value(2).toString());
    // Only the rules some new row may match cost a statement.
    QSqlQuery consulta;
    for (int i = 0; i < regras.size(); ++i) {
        if (!candidatas.daRegra(i).isEmpty()
            && !aplicaUma(consulta, sqlAplicarAsNovas,
                          {{QStringLiteral(":regra"), regras.at(i).id},
                           {QStringLiteral(":ids"), emJson(candidatas.daRegra(i))}},
                          classificadas))
            return false;
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
