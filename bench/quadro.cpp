#include "bench/quadro.h"

#include <QStringList>

#include <cstdio>

namespace {

const int largOperacao = 52;
const int largSobre = 30;

// printf pads by bytes, and the names carry accents.
QByteArray coluna(const QString &texto, int largura)
{
    return texto.leftJustified(largura).toUtf8();
}

void imprime(const QString &operacao, int tamanho, const Medida &medido, const QString &razao,
             const QString &sobre, const QString &meta)
{
    std::printf("%s %9d %11.4f %10.1f %s %s %s\n", coluna(operacao, largOperacao).constData(), tamanho,
                medido.medianaS, medido.picoMiB, coluna(razao, 7).constData(), coluna(sobre, largSobre).constData(),
                meta.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

Quadro::Quadro()
{
    std::printf("%s %9s %11s %10s %s %s %s\n", coluna(QStringLiteral("operação"), largOperacao).constData(),
                "tamanho", "mediana (s)", "pico (MiB)", coluna(QStringLiteral("razão"), 7).constData(),
                coluna(QStringLiteral("sobre"), largSobre).constData(), "meta");
    std::fflush(stdout);
}

void Quadro::base(const QString &operacao, int tamanho, const Medida &medido)
{
    imprime(operacao, tamanho, medido, QStringLiteral("-"), QStringLiteral("-"), QString());
}

void Quadro::compara(const QString &operacao, int tamanho, const Medida &medido, const QString &sobre,
                     const Medida &referencia, double razaoMaxima, double picoMaximoMiB)
{
    const double razao = razaoPareada(medido, referencia);
    QStringList metas;
    const auto confere = [&](bool cumprida, const QString &texto) {
        metas << texto + (cumprida ? QStringLiteral(" ok") : QStringLiteral(" NÃO CUMPRIDA"));
        ++(cumprida ? m_cumpridas : m_perdidas);
    };
    if (razaoMaxima > 0)
        confere(razao <= razaoMaxima, QStringLiteral("≤ %1×").arg(razaoMaxima, 0, 'f', 2));
    if (picoMaximoMiB > 0)
        confere(medido.picoMiB <= picoMaximoMiB, QStringLiteral("pico ≤ %1 MiB").arg(picoMaximoMiB));
    imprime(operacao, tamanho, medido, QString::number(razao, 'f', 2), sobre, metas.join(QStringLiteral("; ")));
}

void Quadro::nota(const QString &texto)
{
    std::printf("  (%s)\n", texto.toUtf8().constData());
    std::fflush(stdout);
}

bool Quadro::resumo() const
{
    std::printf("\nmetas cumpridas: %d de %d\n", m_cumpridas, m_cumpridas + m_perdidas);
    std::fflush(stdout);
    return m_perdidas == 0;
}
