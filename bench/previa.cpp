#include "bench/previa.h"

#include "bench/falha.h"
#include "bench/quadro.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

// 4× the read plus 2× the statement, run by run, so that the ratio to it
// pairs runs as every other ratio does.
Medida orcamento(const Medida &leitura, const Medida &datas)
{
    Medida soma;
    for (int i = 0; i < leitura.temposS.size(); ++i)
        soma.temposS << 4 * leitura.temposS.at(i) + 2 * datas.temposS.at(i);
    QVector<double> ordenados = soma.temposS;
    std::sort(ordenados.begin(), ordenados.end());
    soma.medianaS = ordenados.value(ordenados.size() / 2);
    return soma;
}

} // namespace

Operacao lerAsDatas(const QDate &primeira, const QDate &ultima)
{
    return {[] {}, [primeira, ultima] {
        QSqlQuery consulta;
        consulta.setForwardOnly(true);
        consulta.prepare(QStringLiteral("SELECT data, valor, fornecedor FROM gastos WHERE data BETWEEN ? AND ?"));
        consulta.addBindValue(primeira);
        consulta.addBindValue(ultima);
        if (!consulta.exec())
            falha(consulta.lastError().text());
        while (consulta.next())
            consulta.value(2);
    }};
}

void comparaPrevia(Quadro &quadro, const QString &operacao, int tamanho, const Medida &previa,
                   const Medida &leitura, const Medida &datas, double picoMaximoMiB)
{
    quadro.base(QStringLiteral("ler os gastos das datas do arquivo (base)"), tamanho, datas);
    quadro.compara(operacao, tamanho, previa, QStringLiteral("ler e dividir"), leitura, 0, picoMaximoMiB);
    quadro.compara(operacao, tamanho, previa, QStringLiteral("4× ler e dividir + 2× ler as datas"),
                   orcamento(leitura, datas), 1);
}
