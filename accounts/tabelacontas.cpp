#include "accounts/tabelacontas.h"

#include "database/sql.h"


namespace {

const QString sqlListar = QStringLiteral("SELECT idConta, nome, tipo, banco FROM conta ORDER BY nome");
const QString sqlCriar = QStringLiteral("INSERT INTO conta (nome, tipo, banco) VALUES (?, ?, ?)");
const QString sqlRenomear = QStringLiteral("UPDATE conta SET nome = ? WHERE idConta = ?");
// Only while nothing refers to it: the check and the delete in one statement.
const QString sqlApagar = QStringLiteral(
    "DELETE FROM conta WHERE idConta = ? AND NOT EXISTS (SELECT 1 FROM gastos WHERE idConta = conta.idConta) "
    "AND NOT EXISTS (SELECT 1 FROM entrada WHERE idConta = conta.idConta) "
    "AND NOT EXISTS (SELECT 1 FROM transferencia WHERE idConta = conta.idConta) "
    "AND NOT EXISTS (SELECT 1 FROM compra WHERE idConta = conta.idConta) "
    "AND NOT EXISTS (SELECT 1 FROM importacao WHERE idConta = conta.idConta)");
const QString sqlDinheiro = QStringLiteral("SELECT idConta FROM conta WHERE tipo = 3 ORDER BY idConta LIMIT 1");
const QString sqlDoArquivo = QStringLiteral(
    "SELECT a.idConta FROM conta_do_arquivo a JOIN conta c ON c.idConta = a.idConta WHERE a.identidade = ?");
const QString sqlLembra = QStringLiteral(
    "INSERT INTO conta_do_arquivo (identidade, idConta) VALUES (?, ?) ON DUPLICATE KEY UPDATE idConta = VALUES(idConta)");

// What a refused name means here, by the server's error code.
Motivo motivoDoNome(const Resultado<QSqlQuery> &feito, const QString &nome)
{
    if (feito.motivo().codigo == QLatin1String("1062"))
        return {QStringLiteral("Já existe a conta “%1” (maiúsculas e acentos não contam).").arg(nome),
                feito.motivo().detalhes, feito.motivo().codigo};
    if (feito.motivo().codigo == QLatin1String("4025"))
        return {QStringLiteral("O nome da conta está em branco."), feito.motivo().detalhes, feito.motivo().codigo};
    return feito.motivo();
}

} // namespace

namespace TabelaContas {

Resultado<QVector<Conta>> listar()
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlListar);
    if (!consulta.ok())
        return consulta.motivo();
    QVector<Conta> contas;
    for (QSqlQuery &q = consulta.valor(); q.next();)
        contas.append({q.value(0).toInt(), q.value(1).toString(), TipoDeConta(q.value(2).toInt()), q.value(3).toString()});
    return contas;
}

Resultado<int> criar(const Conta &conta)
{
    const QString nome = conta.nome.simplified();
    Resultado<QSqlQuery> feito = Sql::executa(sqlCriar, {nome, int(conta.tipo), Sql::textoOuNulo(conta.banco.trimmed())});
    if (!feito.ok())
        return motivoDoNome(feito, nome);
    return feito.valor().lastInsertId().toInt();
}

Resultado<> renomear(int idConta, const QString &nome)
{
    const Resultado<QSqlQuery> feito = Sql::executa(sqlRenomear, {nome.simplified(), idConta});
    return feito.ok() ? Resultado<>(Feito()) : Resultado<>(motivoDoNome(feito, nome.simplified()));
}

Resultado<> apagar(int idConta)
{
    const Resultado<QSqlQuery> feito = Sql::executa(sqlApagar, {idConta});
    if (!feito.ok())
        return feito.motivo();
    if (feito.valor().numRowsAffected() == 0)
        return Motivo {QStringLiteral("A conta tem gastos, entradas, transferências, compras parceladas ou "
                                      "importações: só uma conta sem nada lançado pode ser apagada."), {}, {}};
    return Feito();
}

Resultado<int> dinheiro()
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlDinheiro);
    if (!consulta.ok())
        return consulta.motivo();
    if (consulta.valor().next())
        return consulta.valor().value(0).toInt();
    return criar({0, descricaoDoTipo(TipoDeConta::Dinheiro).nome, TipoDeConta::Dinheiro, {}});
}

Resultado<std::optional<int>> doArquivo(const QString &identidade)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlDoArquivo, {identidade});
    if (!consulta.ok())
        return consulta.motivo();
    return consulta.valor().next() ? std::optional<int>(consulta.valor().value(0).toInt()) : std::nullopt;
}

Resultado<> lembraArquivo(const QString &identidade, int idConta)
{
    return Sql::executa(sqlLembra, {identidade, idConta});
}

} // namespace TabelaContas
