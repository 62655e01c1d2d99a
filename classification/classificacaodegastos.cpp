#include "classification/classificacaodegastos.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

ResultadoDaClassificacao recusa(const QString &erro)
{
    return {Classificacao::Recusada, erro};
}

// In ascending order, so two classifications at once lock rows alike.
QList<int> semRepeticoes(QList<int> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

ResultadoDaClassificacao atualiza(const QList<int> &idsGastos, int idCategoria)
{
    QSqlQuery trava;
    trava.prepare(QStringLiteral("SELECT idCategoria FROM categoria WHERE idCategoria = :id LOCK IN SHARE MODE"));
    trava.bindValue(QStringLiteral(":id"), idCategoria);
    if (!trava.exec())
        return recusa(trava.lastError().text());
    if (!trava.next())
        return {Classificacao::CategoriaApagada, QString()};
    QSqlQuery atualizacao;
    atualizacao.prepare(QStringLiteral("UPDATE gastos SET idCategoria = :idcategoria WHERE idGasto = :idgasto"));
    for (const int idGasto : semRepeticoes(idsGastos)) {
        atualizacao.bindValue(QStringLiteral(":idcategoria"), idCategoria);
        atualizacao.bindValue(QStringLiteral(":idgasto"), idGasto);
        if (!atualizacao.exec())
            return recusa(atualizacao.lastError().text());
    }
    return {};
}

} // namespace

ResultadoDaClassificacao classificaGastos(const QList<int> &idsGastos, int idCategoria)
{
    QSqlDatabase banco = QSqlDatabase::database();
    if (!banco.transaction())
        return recusa(banco.lastError().text());
    const ResultadoDaClassificacao resultado = atualiza(idsGastos, idCategoria);
    if (resultado.estado != Classificacao::Feita) {
        banco.rollback();
        return resultado;
    }
    if (!banco.commit())
        return recusa(banco.lastError().text());
    return resultado;
}
