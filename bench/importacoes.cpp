#include "bench/importacoes.h"

#include "bench/falha.h"
#include "bench/quadro.h"
#include "import/historicodeimportacoes.h"
#include "import/linhasrepetidas.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

namespace {

void executa(QSqlQuery &consulta, const QString &sql, const QVariantList &valores = {})
{
    consulta.prepare(sql);
    for (const QVariant &valor : valores)
        consulta.addBindValue(valor);
    if (!consulta.exec())
        falha(sql + QStringLiteral(": ") + consulta.lastError().text());
}

// The newest expenses as a statement would show them, every other one with
// an amount no expense has, so half the rows are repeated.
void preencheGrade(QTableWidget &grade, int linhas, QString *primeira, QString *ultima)
{
    QSqlQuery consulta;
    executa(consulta, QStringLiteral("SELECT data, fornecedor, valor, descricao FROM gastos ORDER BY data DESC LIMIT ?"),
            {linhas});
    grade.setRowCount(linhas);
    grade.setColumnCount(4);
    for (int linha = 0; consulta.next(); ++linha) {
        const QString valor = linha % 2 ? QStringLiteral("0,001") : consulta.value(2).toString().replace('.', ',');
        const QStringList campos {consulta.value(0).toDate().toString(QStringLiteral("dd/MM/yyyy")),
                                  consulta.value(1).toString(), valor, consulta.value(3).toString()};
        for (int coluna = 0; coluna < campos.size(); ++coluna)
            grade.setItem(linha, coluna, new QTableWidgetItem(campos.at(coluna)));
        *ultima = linha == 0 ? consulta.value(0).toDate().toString(Qt::ISODate) : *ultima;
        *primeira = consulta.value(0).toDate().toString(Qt::ISODate);
    }
}

void marcar(Quadro &quadro, int gastos)
{
    const int linhas = gastos / 100;
    QTableWidget grade;
    QString primeira, ultima;
    preencheGrade(grade, linhas, &primeira, &ultima);
    LinhasRepetidas repetidas(&grade);
    int lidas = 0;
    const Operacao leitura {[] {}, [&] {
        QSqlQuery consulta;
        executa(consulta, QStringLiteral("SELECT data, valor, fornecedor, descricao FROM gastos "
                                         "WHERE data BETWEEN ? AND ?"), {primeira, ultima});
        for (lidas = 0; consulta.next(); ++lidas)
            consulta.value(3);
    }};
    const Operacao marcacao {[] {}, [&] {
        if (!repetidas.marcar().ok() || repetidas.quantas() != (linhas + 1) / 2)
            falha(QStringLiteral("marking found %1 repeated rows of %2").arg(repetidas.quantas()).arg(linhas));
    }};
    const QVector<Medida> r = mede({leitura, marcacao});
    quadro.base(QStringLiteral("ler os gastos do período da prévia (base)"), gastos, r.at(0));
    quadro.compara(QStringLiteral("marcar as repetidas de %1 linhas").arg(linhas), gastos, r.at(1),
                   QStringLiteral("ler o período"), r.at(0), 2);
    quadro.nota(QStringLiteral("o período da prévia, de %1 a %2, tem %3 gastos").arg(primeira, ultima).arg(lidas));
}

// Each run gets an import of its own.
void desfazer(Quadro &quadro, int gastos)
{
    const int linhas = gastos / 10;
    int id = 0;
    QSqlQuery consulta;
    const auto importa = [&] {
        executa(consulta, QStringLiteral("INSERT INTO importacao (arquivo) VALUES ('bench.csv')"));
        id = consulta.lastInsertId().toInt();
        // From MariaDB's sequence table: a copy of gastos itself would go through a temporary table.
        executa(consulta, QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao, idImportacao) "
                                         "SELECT CURDATE() - INTERVAL seq % 1000 DAY, CONCAT('Loja ', seq % 97), "
                                         "seq % 50000 / 100, 'importada', ? FROM seq_1_to_10000000 WHERE seq <= ?"),
                {id, linhas});
    };
    const auto confere = [&] {
        executa(consulta, QStringLiteral("SELECT COUNT(*) FROM gastos WHERE idImportacao IS NOT NULL"));
        if (!consulta.next() || consulta.value(0).toInt() != 0)
            falha(QStringLiteral("an undone import left expenses behind"));
        executa(consulta, QStringLiteral("DELETE FROM importacao"));
    };
    const Operacao apagar {importa, [&] {
        executa(consulta, QStringLiteral("DELETE FROM gastos WHERE idImportacao = ?"), {id});
    }, confere};
    const Operacao desfazer {importa, [&] {
        if (!HistoricoDeImportacoes::desfazer(QSqlDatabase::database(), id, true).ok())
            falha(QStringLiteral("the undo failed"));
    }, confere};
    const QVector<Medida> r = mede({apagar, desfazer});
    quadro.base(QStringLiteral("DELETE dos gastos de uma importação (base)"), linhas, r.at(0));
    quadro.compara(QStringLiteral("desfazer a importação"), linhas, r.at(1), QStringLiteral("DELETE"), r.at(0), 1.2);
}

} // namespace

void medeImportacoes(Quadro &quadro, int gastos)
{
    marcar(quadro, gastos);
    desfazer(quadro, gastos);
}
