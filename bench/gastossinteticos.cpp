#include "bench/gastossinteticos.h"

#include <QIODevice>
#include <QTextStream>

namespace {

const int tamanhoDoMes = 5000;

const QStringList &fornecedores()
{
    static const QStringList nomes {
        QStringLiteral("Supermercado Pão de Açúcar"), QStringLiteral("Padaria Santa Luzia"),
        QStringLiteral("Posto Shell"), QStringLiteral("iFood"), QStringLiteral("Drogaria São Paulo"),
        QStringLiteral("Enel Distribuição"), QStringLiteral("Uber"), QStringLiteral("Atacadão"),
        QStringLiteral("Livraria Cultura"), QStringLiteral("Claro"), QStringLiteral("Netflix"),
        QStringLiteral("Sabesp"), QStringLiteral("Renner"), QStringLiteral("Petz"),
        QStringLiteral("Leroy Merlin"), QStringLiteral("Smart Fit"),
    };
    return nomes;
}

QDate primeiroDia(const QDate &data)
{
    return QDate(data.year(), data.month(), 1);
}

// Consecutive rows land far apart, so each month gets every kind of row.
quint32 espalha(int i)
{
    return (static_cast<quint32>(i) * 2654435761u) >> 8;
}

} // namespace

GastosSinteticos::GastosSinteticos(int total, const QDate &hoje)
    : m_total(total)
    , m_porMes(qMin(tamanhoDoMes, total / 20))
    , m_mesListado(primeiroDia(hoje))
    , m_mesDetalhado(primeiroDia(hoje).addMonths(-1))
    , m_inicio(hoje.addYears(-3))
    , m_diasAntesDoMes(static_cast<int>(hoje.addYears(-3).daysTo(primeiroDia(hoje))))
{
}

QStringList GastosSinteticos::categorias()
{
    return {
        QStringLiteral("Mercado"), QStringLiteral("Restaurante"), QStringLiteral("Transporte"),
        QStringLiteral("Combustível"), QStringLiteral("Farmácia"), QStringLiteral("Saúde"),
        QStringLiteral("Educação"), QStringLiteral("Lazer"), QStringLiteral("Vestuário"),
        QStringLiteral("Moradia"), QStringLiteral("Energia"), QStringLiteral("Água"),
        QStringLiteral("Internet"), QStringLiteral("Telefone"), QStringLiteral("Assinaturas"),
        QStringLiteral("Presentes"), QStringLiteral("Viagem"), QStringLiteral("Pets"),
        QStringLiteral("Manutenção"), QStringLiteral("Academia"),
    };
}

QDate GastosSinteticos::dataDaLinha(int i) const
{
    if (i < 2 * m_porMes) {
        const QDate mes = i < m_porMes ? m_mesListado : m_mesDetalhado;
        return mes.addDays(i % mes.daysInMonth());
    }
    // Everything else falls before the current month, which keeps its size.
    return m_inicio.addDays(espalha(i) % static_cast<quint32>(m_diasAntesDoMes));
}

// 0 stands for no category.
int GastosSinteticos::categoriaDaLinha(int i, const QDate &data) const
{
    if (i >= m_porMes && i < 2 * m_porMes)
        return categoriaDetalhada();
    if (i % 10 == 0)
        return 0;
    const int categoria = 1 + static_cast<int>(espalha(i + 1) % static_cast<quint32>(categorias().size()));
    // The detailed month's share of its category is exactly the rows above.
    const bool noMesDetalhado = primeiroDia(data) == m_mesDetalhado;
    return categoria == categoriaDetalhada() && noMesDetalhado ? categoriaDetalhada() + 1 : categoria;
}

void GastosSinteticos::escreve(QIODevice &destino, int de, int ate) const
{
    QTextStream saida(&destino);
    saida.setCodec("UTF-8");
    for (int i = de; i < ate; ++i) {
        const QDate data = dataDaLinha(i);
        const int categoria = categoriaDaLinha(i, data);
        const int centavos = 100 + static_cast<int>(espalha(i + 2) % 50000);
        saida << data.toString(Qt::ISODate) << '\t' << fornecedores().at(espalha(i + 3) % fornecedores().size())
              << '\t' << centavos / 100 << '.' << QString::number(centavos % 100).rightJustified(2, QLatin1Char('0'))
              << '\t' << QStringLiteral("Compra número %1").arg(i) << '\t';
        if (categoria)
            saida << categoria;
        else
            saida << "\\N";
        saida << '\n';
    }
}
