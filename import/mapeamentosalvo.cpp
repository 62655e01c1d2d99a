#include "import/mapeamentosalvo.h"

#include "import/layoutextrato.h"
#include "import/leitorcsvbanco.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

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

} // namespace

QString MapeamentoSalvo::nomeDoLayout()
{
    return QStringLiteral("CSV com colunas escolhidas");
}

bool MapeamentoSalvo::busca(const QString &cabecalho, LayoutExtrato *layout)
{
    QSqlQuery consulta;
    consulta.prepare(QStringLiteral("SELECT separador, formatoData, virgulaDecimal, saidaNegativa, colunaData, "
                                    "colunaFornecedor, colunaValor, colunaEntrada, colunaSaida, colunaDescricao "
                                    "FROM mapeamento_extrato WHERE chaveCabecalho = ?"));
    consulta.addBindValue(chave(cabecalho));
    if (!consulta.exec() || !consulta.next())
        return false;
    *layout = LayoutExtrato();
    layout->nome = nomeDoLayout();
    layout->separador = consulta.value(0).toString().at(0);
    layout->cabecalho = camposCsv(cabecalho, layout->separador);
    layout->formatoData = consulta.value(1).toString();
    layout->notacao = consulta.value(2).toBool() ? NotacaoValor::VirgulaDecimal : NotacaoValor::PontoDecimal;
    layout->sinal = consulta.value(3).toBool() ? Sinal::SaidaNegativa : Sinal::SaidaPositiva;
    ColunasExtrato &c = layout->colunas;
    c.data = consulta.value(4).toInt();
    c.fornecedor = {consulta.value(5).toInt()};
    c.valor = indice(consulta.value(6));
    c.entrada = indice(consulta.value(7));
    c.saida = indice(consulta.value(8));
    c.descricao = {indice(consulta.value(9))};
    return true;
}

bool MapeamentoSalvo::grava(const QString &cabecalho, const LayoutExtrato &layout)
{
    QSqlQuery insercao;
    insercao.prepare(QStringLiteral(
        "INSERT INTO mapeamento_extrato (chaveCabecalho, cabecalho, separador, formatoData, virgulaDecimal, "
        "saidaNegativa, colunaData, colunaFornecedor, colunaValor, colunaEntrada, colunaSaida, colunaDescricao) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON DUPLICATE KEY UPDATE separador = VALUES(separador), "
        "formatoData = VALUES(formatoData), virgulaDecimal = VALUES(virgulaDecimal), "
        "saidaNegativa = VALUES(saidaNegativa), colunaData = VALUES(colunaData), "
        "colunaFornecedor = VALUES(colunaFornecedor), colunaValor = VALUES(colunaValor), "
        "colunaEntrada = VALUES(colunaEntrada), colunaSaida = VALUES(colunaSaida), "
        "colunaDescricao = VALUES(colunaDescricao)"));
    const ColunasExtrato &c = layout.colunas;
    for (const QVariant &valor :
         {QVariant(chave(cabecalho)), QVariant(cabecalho), QVariant(QString(layout.separador)),
          QVariant(layout.formatoData), QVariant(layout.notacao == NotacaoValor::VirgulaDecimal),
          QVariant(layout.sinal == Sinal::SaidaNegativa), QVariant(c.data), QVariant(c.fornecedor.value(0)),
          coluna(c.valor), coluna(c.entrada), coluna(c.saida), coluna(c.descricao.value(0, -1))})
        insercao.addBindValue(valor);
    if (!insercao.exec()) {
        qDebug() << "Erro ao guardar as colunas do extrato:" << insercao.lastError().text();
        return false;
    }
    return true;
}
