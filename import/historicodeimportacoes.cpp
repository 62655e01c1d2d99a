#include "import/historicodeimportacoes.h"

#include "database/transacao.h"
#include "import/resultadoimportacao.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The server's codes for an unknown table and an unknown column.
const QStringList codigosDeEsquemaAntigo {QStringLiteral("1146"), QStringLiteral("1054")};

// Runs sql with its values bound; a failure is logged with the server's reason.
bool executa(QSqlQuery &consulta, const QString &sql, const QVariantList &valores)
{
    consulta.prepare(sql);
    for (const QVariant &valor : valores)
        consulta.addBindValue(valor);
    if (consulta.exec())
        return true;
    qDebug() << "Erro no registro de importações:" << consulta.lastError().text();
    return false;
}

QVariant textoOuNulo(const QString &texto)
{
    return texto.isEmpty() ? QVariant(QVariant::String) : QVariant(texto);
}

} // namespace

namespace HistoricoDeImportacoes {

QString faltaAtualizar()
{
    QSqlQuery consulta;
    if (consulta.exec(QStringLiteral("SELECT g.idImportacao, g.idTransacao, i.sha256 "
                                     "FROM gastos g JOIN importacao i ON FALSE"))
        || !codigosDeEsquemaAntigo.contains(consulta.lastError().nativeErrorCode()))
        return QString();
    return QStringLiteral("O banco de dados ainda não foi atualizado para esta versão do Finara, "
                          "que registra as importações. Atualize-o rodando ./scripts/db-server start "
                          "e tente de novo.");
}

QString quando(const QDateTime &momento)
{
    return momento.toString(QStringLiteral("dd/MM/yyyy 'às' HH:mm"));
}

QDateTime importadoEm(const QString &sha256)
{
    QSqlQuery consulta;
    if (!executa(consulta, QStringLiteral("SELECT MAX(quando) FROM importacao WHERE sha256 = ?"), {sha256})
        || !consulta.next())
        return QDateTime();
    return consulta.value(0).toDateTime();
}

int abrir(const QString &arquivo, const QString &sha256, const QString &layout)
{
    QSqlQuery consulta;
    if (!executa(consulta, QStringLiteral("INSERT INTO importacao (arquivo, sha256, layout) VALUES (?, ?, ?)"),
                 {arquivo, textoOuNulo(sha256), textoOuNulo(layout)}))
        return -1;
    return consulta.lastInsertId().toInt();
}

bool concluir(int idImportacao, ResultadoImportacao *resultado)
{
    QSqlQuery consulta;
    const QString soma = QStringLiteral(
        "UPDATE importacao i JOIN (SELECT COUNT(*) AS linhas, COALESCE(SUM(valor), 0) AS total "
        "FROM gastos WHERE idImportacao = ?) g SET i.linhas = g.linhas, i.total = g.total "
        "WHERE i.idImportacao = ?");
    if (!executa(consulta, soma, {idImportacao, idImportacao})
        || !executa(consulta, QStringLiteral("SELECT linhas, total FROM importacao WHERE idImportacao = ?"),
                    {idImportacao})
        || !consulta.next())
        return false;
    resultado->gravadas = consulta.value(0).toInt();
    resultado->total = consulta.value(1).toDouble();
    // An import that wrote nothing leaves nothing to list or undo.
    return resultado->gravadas > 0
           || executa(consulta, QStringLiteral("DELETE FROM importacao WHERE idImportacao = ?"), {idImportacao});
}

bool conteudo(int idImportacao, Conteudo *conteudo)
{
    QSqlQuery consulta;
    if (!executa(consulta, QStringLiteral("SELECT COUNT(*), COUNT(idCategoria) FROM gastos WHERE idImportacao = ?"),
                 {idImportacao})
        || !consulta.next())
        return false;
    conteudo->gastos = consulta.value(0).toInt();
    conteudo->classificados = consulta.value(1).toInt();
    return true;
}

bool desfazer(QSqlDatabase db, int idImportacao)
{
    return emTransacao(db, [&]() -> Resultado<> {
        QSqlQuery consulta(db);
        if (executa(consulta, QStringLiteral("DELETE FROM gastos WHERE idImportacao = ?"), {idImportacao})
            && executa(consulta, QStringLiteral("DELETE FROM importacao WHERE idImportacao = ?"), {idImportacao}))
            return Feito();
        return Motivo();
    }).ok();
}

} // namespace HistoricoDeImportacoes
