#include "bench/regras.h"

#include "bench/extrato.h"
#include "bench/falha.h"
#include "bench/quadro.h"
#include "rules/cadastroderegras.h"
#include "support/bancoteste.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const int quantas = 200;
const int categorias = 20; // the benchmark's categories have keys 1 to 20

// Supplier names as a user would type them: no case, no accents.
QString padrao(int i)
{
    static const QStringList casam {"pao de acucar", "padaria", "shell", "IFOOD",
                                    "drogaria", "enel", "uber", "atacadao"};
    return i % 25 == 24 ? casam.at(i / 25) : QStringLiteral("Loja %1").arg(i);
}

void executa(const BancoTeste &banco, const QString &sql, const QVariantList &valores = {})
{
    if (!banco.executa(sql, valores))
        falha(QStringLiteral("cannot run: ") + sql);
}

void criaRegras(const BancoTeste &banco)
{
    executa(banco, QStringLiteral("TRUNCATE TABLE regra"));
    for (int i = 0; i < quantas; ++i)
        executa(banco,
                QStringLiteral("INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria) "
                               "VALUES (?, ?, 1, 1, ?)"),
                {i + 1, padrao(i), i % categorias + 1});
}

int classificadas(const BancoTeste &banco)
{
    return banco.valor(QStringLiteral("SELECT COUNT(idCategoria) FROM gastos")).toInt();
}

} // namespace

void medeRegrasNaImportacao(BancoTeste &banco, const QString &pasta, int linhas, Quadro &quadro)
{
    const Extrato extrato(pasta, linhas, banco);
    QSqlDatabase handle = QSqlDatabase::database();
    Operacao sem = extrato.importarGrade(&handle);
    Operacao com = extrato.importarGrade(&handle);
    sem.prepara = [prepara = sem.prepara, &banco] {
        executa(banco, QStringLiteral("TRUNCATE TABLE regra"));
        prepara();
    };
    com.prepara = [prepara = com.prepara, &banco] {
        criaRegras(banco);
        prepara();
    };
    com.encerra = [encerra = com.encerra, &banco, linhas] {
        const int feitas = classificadas(banco);
        if (feitas != linhas)
            falha(QStringLiteral("the rules classified %1 of %2 imported rows").arg(feitas).arg(linhas));
        encerra();
    };
    const QVector<Medida> r = mede({sem, com});
    quadro.base(QStringLiteral("importar a grade sem regras (base)"), linhas, r.at(0));
    quadro.compara(QStringLiteral("importar a grade com %1 regras").arg(quantas), linhas, r.at(1),
                   QStringLiteral("sem regras"), r.at(0), 1.15);
    executa(banco, QStringLiteral("TRUNCATE TABLE regra"));
    executa(banco, QStringLiteral("TRUNCATE TABLE gastos"));
}

void medeAplicacaoDasRegras(BancoTeste &banco, int gastos, Quadro &quadro)
{
    criaRegras(banco);
    executa(banco, QStringLiteral("CREATE TABLE bench_sem_categoria AS "
                                  "SELECT idGasto FROM gastos WHERE idCategoria IS NULL"));
    const int semCategoria = banco.valor(QStringLiteral("SELECT COUNT(*) FROM bench_sem_categoria")).toInt();
    const auto desfaz = [&banco] {
        executa(banco, QStringLiteral("UPDATE gastos JOIN bench_sem_categoria USING (idGasto) "
                                      "SET gastos.idCategoria = NULL"));
    };
    const Operacao nuas {desfaz, [] {
        for (int i = 0; i < quantas; ++i) {
            const QString like = QStringLiteral("'%") + padrao(i) + QStringLiteral("%'");
            QSqlQuery consulta;
            const QString sql = QStringLiteral("UPDATE gastos SET idCategoria = %1 WHERE idCategoria IS NULL "
                                               "AND (fornecedor LIKE %2 OR descricao LIKE %2)")
                                    .arg(i % categorias + 1)
                                    .arg(like);
            if (!consulta.exec(sql))
                falha(consulta.lastError().text());
        }
    }};
    int aplicadas = 0;
    const Operacao janela {desfaz, [&aplicadas] {
        if (!CadastroDeRegras::contar().ok())
            falha(QStringLiteral("counting what the rules classify failed"));
        const Resultado<int> feitas = CadastroDeRegras::aplicar();
        if (!feitas.ok())
            falha(QStringLiteral("applying the rules failed"));
        aplicadas = feitas.valor();
    }};
    const QVector<Medida> r = mede({nuas, janela});
    quadro.base(QStringLiteral("um UPDATE nu por regra (base)"), gastos, r.at(0));
    quadro.compara(QStringLiteral("aplicar %1 regras às não classificadas").arg(quantas), gastos, r.at(1),
                   QStringLiteral("UPDATEs nus"), r.at(0), 2);
    quadro.nota(QStringLiteral("%1 gastos sem categoria; as regras classificaram %2")
                    .arg(semCategoria)
                    .arg(aplicadas));
    desfaz();
    executa(banco, QStringLiteral("DROP TABLE bench_sem_categoria"));
    executa(banco, QStringLiteral("TRUNCATE TABLE regra"));
}
