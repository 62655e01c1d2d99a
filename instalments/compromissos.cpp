#include "instalments/compromissos.h"

#include "messages/formatacao.h"
#include "statements/data.h"

#include <QStringList>

namespace {

int meses(const QDate &de, const QDate &ate)
{
    return (ate.year() - de.year()) * 12 + ate.month() - de.month();
}

const ParcelaVista *ultima(const Compra &compra)
{
    const ParcelaVista *achada = nullptr;
    for (const ParcelaVista &vista : compra.vistas) {
        if (vista.centavos > 0 && (!achada || vista.numero > achada->numero))
            achada = &vista;
    }
    return achada;
}

qint64 estornado(const Compra &compra)
{
    qint64 soma = 0;
    for (const ParcelaVista &vista : compra.vistas)
        soma -= qMin<qint64>(vista.centavos, 0);
    return soma;
}

// The purchase's total: its instalments at the latest one's amount, the
// imported ones at their own.
qint64 total(const Compra &compra)
{
    const ParcelaVista *maisRecente = ultima(compra);
    qint64 soma = 0;
    for (int numero = 1; numero <= compra.parcelas; ++numero) {
        const auto vista = std::find_if(compra.vistas.cbegin(), compra.vistas.cend(),
                                        [numero](const ParcelaVista &v) { return v.numero == numero && v.centavos > 0; });
        soma += vista != compra.vistas.cend() ? vista->centavos : (maisRecente ? maisRecente->centavos : 0);
    }
    return soma;
}

} // namespace

qint64 Compromissos::soma(int idCategoria, int mes) const
{
    qint64 total = 0;
    for (const ParcelaFutura &parcela : porCategoria.value(idCategoria).value(mes))
        total += parcela.centavos;
    return total;
}

Compromissos compromissos(const QVector<Compra> &compras, const QDate &hoje, int quantosMeses)
{
    Compromissos futuros;
    for (int m = 0; m < quantosMeses; ++m)
        futuros.meses << hoje.addMonths(m);
    for (int indice = 0; indice < compras.size(); ++indice) {
        const Compra &compra = compras.at(indice);
        const ParcelaVista *maisRecente = ultima(compra);
        if (!maisRecente)
            continue;
        QVector<ParcelaFutura> aVir; // latest month first, for the refunds
        for (int numero = compra.parcelas; numero > maisRecente->numero; --numero)
            aVir.append({indice, numero, maisRecente->centavos});
        for (qint64 resto = estornado(compra); resto > 0 && !aVir.isEmpty();) {
            const qint64 abatido = qMin(resto, aVir.first().centavos);
            aVir.first().centavos -= abatido;
            resto -= abatido;
            if (aVir.first().centavos == 0)
                aVir.removeFirst();
        }
        for (const ParcelaFutura &parcela : aVir) {
            const int mes = meses(hoje, maisRecente->data.addMonths(parcela.numero - maisRecente->numero));
            if (mes < 0 || mes >= quantosMeses)
                continue;
            auto &porMes = futuros.porCategoria[compra.idCategoria];
            porMes.resize(quantosMeses);
            porMes[mes].append(parcela);
            futuros.nomes.insert(compra.idCategoria,
                                 compra.idCategoria ? compra.categoria : QStringLiteral("Não Classificado"));
        }
    }
    return futuros;
}

QString lacunas(const Compra &compra)
{
    const ParcelaVista *maisRecente = ultima(compra);
    QStringList faixas;
    for (int numero = 1; maisRecente && numero < maisRecente->numero;) {
        const auto vista = [&](int n) {
            return std::any_of(compra.vistas.cbegin(), compra.vistas.cend(),
                               [n](const ParcelaVista &v) { return v.numero == n; });
        };
        if (vista(numero)) {
            ++numero;
            continue;
        }
        int fim = numero;
        while (fim + 1 < maisRecente->numero && !vista(fim + 1))
            ++fim;
        faixas << (fim == numero ? QStringLiteral("parcela %1 não importada").arg(numero)
                                 : QStringLiteral("parcelas %1 a %2 não importadas").arg(numero).arg(fim));
        numero = fim + 1;
    }
    return faixas.join(QStringLiteral(", "));
}

QString descricaoDaParcela(const Compra &compra, int numero)
{
    // Counted back from an instalment charged, not from a refund, which may come in another month.
    const ParcelaVista *cobrada = ultima(compra);
    const ParcelaVista *vista = cobrada ? cobrada : (compra.vistas.isEmpty() ? nullptr : &compra.vistas.first());
    const QDate inicio = compra.dataCompra.isValid() || !vista ? compra.dataCompra
                                                               : vista->data.addMonths(1 - vista->numero);
    return QStringLiteral("Parcela %1 de %2 — compra de %3, total %4")
        .arg(QString::number(numero), QString::number(compra.parcelas),
             compra.dataCompra.isValid() ? dataNaGrade(inicio) : inicio.toString(QStringLiteral("MM/yyyy")),
             centavosEmReais(total(compra)));
}
