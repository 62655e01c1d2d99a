#include "budget/tabelaorcamento.h"

#include "statements/valor.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char *const sqlLista = R"(SELECT categoria.idCategoria, categoria.categoria, orcamento.valor
    FROM categoria LEFT JOIN orcamento ON orcamento.idCategoria = categoria.idCategoria
    ORDER BY categoria.categoria)";
const char *const sqlGrava = R"(INSERT INTO orcamento (idCategoria, valor) VALUES (:id, :valor)
    ON DUPLICATE KEY UPDATE valor = VALUES(valor))";
const char *const sqlApaga = "DELETE FROM orcamento WHERE idCategoria = :id";

// DECIMAL(13,2) holds up to eleven digits before the point.
const double maiorOrcamento = 99999999999.99;

// The amount as the server should receive it, or a null string with *erro set.
QString valorValido(const QString &texto, QString *erro)
{
    const std::optional<qint64> centavos = leCentavos(texto, NotacaoValor::Brasileira);
    const QString decimal = centavos ? valorParaBanco(*centavos) : QString();
    const double valor = decimal.toDouble();
    if (!centavos) {
        *erro = QStringLiteral("“%1” não é um valor em reais. Escreva-o como no extrato, por exemplo 1.446,90.")
                    .arg(texto.trimmed());
        return QString();
    }
    if (valor <= 0 || valor > maiorOrcamento) {
        *erro = QStringLiteral("O orçamento deve ser maior que zero e menor que cem bilhões; "
                               "deixe-o vazio para não ter orçamento.");
        return QString();
    }
    return decimal;
}

bool executa(QSqlQuery &consulta, QString *erro)
{
    if (consulta.exec())
        return true;
    *erro = QStringLiteral("O orçamento não foi gravado: ") + consulta.lastError().text();
    return false;
}

} // namespace

bool TabelaOrcamento::lista(QVector<OrcamentoDaCategoria> *categorias, QString *erro)
{
    QSqlQuery consulta;
    if (!consulta.exec(QString::fromUtf8(sqlLista))) {
        *erro = consulta.lastError().text();
        return false;
    }
    categorias->clear();
    while (consulta.next()) {
        const QVariant valor = consulta.value(2);
        categorias->append({consulta.value(0).toInt(), consulta.value(1).toString(),
                            valor.isNull() ? std::nullopt : std::optional<double>(valor.toDouble())});
    }
    return true;
}

bool TabelaOrcamento::grava(int idCategoria, const QString &texto, std::optional<double> *gravado,
                            QString *erro)
{
    QSqlQuery consulta;
    std::optional<double> novo;
    if (texto.trimmed().isEmpty()) {
        consulta.prepare(QString::fromUtf8(sqlApaga));
    } else {
        const QString valor = valorValido(texto, erro);
        if (valor.isNull())
            return false;
        consulta.prepare(QString::fromUtf8(sqlGrava));
        consulta.bindValue(QStringLiteral(":valor"), valor);
        novo = valor.toDouble();
    }
    consulta.bindValue(QStringLiteral(":id"), idCategoria);
    if (!executa(consulta, erro))
        return false;
    *gravado = novo;
    return true;
}
