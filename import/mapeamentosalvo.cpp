#include "import/mapeamentosalvo.h"

#include "database/sql.h"
#include "statements/layoutextrato.h"
#include "statements/parcela.h"
#include "statements/sugestaomapeamento.h"
#include "statements/textoextrato.h"

#include <QCryptographicHash>

namespace {

const QString sqlBusca = QStringLiteral(
    "SELECT separador, formatoData, virgulaDecimal, saidaNegativa, colunaData, colunaFornecedor, colunaValor, "
    "colunaEntrada, colunaSaida, colunaDescricao, colunaParcela FROM mapeamento_extrato WHERE chaveCabecalho = ?");

const QString sqlGrava = QStringLiteral(
    "INSERT INTO mapeamento_extrato (chaveCabecalho, cabecalho, separador, formatoData, virgulaDecimal, "
    "saidaNegativa, colunaData, colunaFornecedor, colunaValor, colunaEntrada, colunaSaida, colunaDescricao, "
    "colunaParcela) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON DUPLICATE KEY UPDATE separador = VALUES(separador), "
    "formatoData = VALUES(formatoData), virgulaDecimal = VALUES(virgulaDecimal), "
    "saidaNegativa = VALUES(saidaNegativa), colunaData = VALUES(colunaData), "
    "colunaFornecedor = VALUES(colunaFornecedor), colunaValor = VALUES(colunaValor), "
    "colunaEntrada = VALUES(colunaEntrada), colunaSaida = VALUES(colunaSaida), "
    "colunaDescricao = VALUES(colunaDescricao), colunaParcela = VALUES(colunaParcela)");

// A header can outgrow an index: it is found by its SHA-256.
QString chave(const QString &cabecalho)
{
    return QString::fromLatin1(QCryptographicHash::hash(cabecalho.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QVariant coluna(int indice)
{
    return indice < 0 ? QVariant(QVariant::Int) : QVariant(indice);
}

int indice(const QVariant &valor)
{
    return valor.isNull() ? -1 : valor.toInt();
}

LayoutExtrato layoutDaLinha(const QString &cabecalho, const QSqlQuery &q)
{
    LayoutExtrato layout;
    layout.nome = nomeDoLayoutMapeado();
    layout.separador = q.value(0).toString().at(0);
    layout.cabecalho = camposDaLinha(cabecalho, layout.separador, Aspas::Protegem);
    layout.formatoData = q.value(1).toString();
    layout.notacao = q.value(2).toBool() ? NotacaoValor::VirgulaDecimal : NotacaoValor::PontoDecimal;
    layout.sinal = q.value(3).toBool() ? Sinal::SaidaNegativa : Sinal::SaidaPositiva;
    ColunasExtrato &c = layout.colunas;
    c.data = q.value(4).toInt();
    c.fornecedor = {q.value(5).toInt()};
    c.valor = indice(q.value(6));
    c.entrada = indice(q.value(7));
    c.saida = indice(q.value(8));
    c.descricao = {indice(q.value(9))};
    layout.colunaParcela = indice(q.value(10));
    layout.formasDeParcela = ParcelaPorExtenso;
    return layout;
}

} // namespace

namespace MapeamentoSalvo {

Resultado<std::optional<LayoutExtrato>> busca(const QString &cabecalho)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlBusca, {chave(cabecalho)});
    if (!consulta.ok())
        return consulta.motivo();
    QSqlQuery &q = consulta.valor();
    return q.next() ? std::optional<LayoutExtrato>(layoutDaLinha(cabecalho, q)) : std::nullopt;
}

Resultado<> grava(const QString &cabecalho, const LayoutExtrato &layout)
{
    const ColunasExtrato &c = layout.colunas;
    return Sql::executa(sqlGrava, {chave(cabecalho), cabecalho, QString(layout.separador), layout.formatoData,
                                   layout.notacao == NotacaoValor::VirgulaDecimal, layout.sinal == Sinal::SaidaNegativa,
                                   c.data, c.fornecedor.value(0), coluna(c.valor), coluna(c.entrada),
                                   coluna(c.saida), coluna(c.descricao.value(0, -1)), coluna(layout.colunaParcela)});
}

} // namespace MapeamentoSalvo
