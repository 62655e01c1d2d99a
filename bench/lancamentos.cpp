#include "bench/lancamentos.h"

#include "bench/falha.h"
#include "bench/janelas.h"
#include "bench/quadro.h"
#include "bench/sqlenviado.h"
#include "register/lancamentos.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include <memory>

namespace {

// As a user types it, without accents or capitals: one supplier in sixteen.
const QString busca = QStringLiteral("sao paulo");
// The first page the register reads, from its first row.
const QVariantList primeiraPagina {200, 0};

struct Instrucoes
{
    QString pagina;
    QString resumo;
};

Instrucoes enviadas(const std::function<void()> &acao)
{
    const QStringList sql = sqlsEnviadosPor(acao);
    if (sql.size() != 2 || !sql.at(0).contains(QLatin1String("LIMIT")) || !sql.at(1).startsWith(QLatin1String("SELECT COUNT")))
        falha(QStringLiteral("the register sent %1 statements on gastos, not its page and its count").arg(sql.size()));
    return {sql.at(0), sql.at(1)};
}

int linhasDa(const Lancamentos &janela)
{
    return janela.findChild<QTableView *>()->model()->rowCount();
}

void abre(std::unique_ptr<Lancamentos> &janela)
{
    janela = std::make_unique<Lancamentos>();
    janela->setupData();
    janela->show();
    QApplication::processEvents();
}

void procura(Lancamentos &janela)
{
    auto *campo = janela.findChild<QLineEdit *>(QStringLiteral("lineEdit_busca"));
    campo->setText(busca);
    emit campo->returnPressed();
    QApplication::processEvents();
}

Operacao ambas(const Operacao &primeira, const Operacao &segunda)
{
    return {[] {}, [primeira, segunda] {
        primeira.executa();
        segunda.executa();
    }};
}

Operacao abrir(int *linhas)
{
    auto janela = std::make_shared<std::unique_ptr<Lancamentos>>();
    return {[] {}, [janela, linhas] {
        abre(*janela);
        *linhas = linhasDa(**janela);
    }, [janela] { janela->reset(); }};
}

Operacao buscar(int *linhas)
{
    auto janela = std::make_shared<std::unique_ptr<Lancamentos>>();
    return {[janela] { abre(*janela); }, [janela, linhas] {
        procura(**janela);
        *linhas = linhasDa(**janela);
    }, [janela] { janela->reset(); }};
}

// The page alone, the count alone, both, and the window; the window's rows
// must be the page's.
void medeJanela(Quadro &quadro, int gastos, const QString &nome, const Instrucoes &sql, const QVariantList &valores,
               const Operacao &janela, const int *naJanela)
{
    int naPagina = 0, noResumo = 0;
    const Operacao pagina = instrucao(sql.pagina, valores + primeiraPagina, &naPagina);
    const Operacao resumo = instrucao(sql.resumo, valores, &noResumo);
    const QVector<Medida> r = ::mede({pagina, resumo, ambas(pagina, resumo), janela});
    if (*naJanela != naPagina)
        falha(QStringLiteral("%1 shows %2 rows, its page %3").arg(nome).arg(*naJanela).arg(naPagina));
    quadro.base(nome + QStringLiteral(": a página (base)"), gastos, r.at(0));
    quadro.base(nome + QStringLiteral(": a contagem e o total (base)"), gastos, r.at(1));
    quadro.base(nome + QStringLiteral(": as duas instruções (base)"), gastos, r.at(2));
    quadro.compara(nome, gastos, r.at(3), QStringLiteral("as duas instruções"), r.at(2), 1.2);
}

} // namespace

void medeLancamentos(Quadro &quadro, int gastos)
{
    const Instrucoes daAbertura = enviadas([] { Lancamentos janela; janela.setupData(); });
    Lancamentos aberta;
    aberta.setupData();
    const Instrucoes daBusca = enviadas([&] { procura(aberta); });
    const QString contendo = QLatin1Char('%') + busca + QLatin1Char('%');
    int naAbertura = 0, naBusca = 0;
    medeJanela(quadro, gastos, QStringLiteral("abrir Lançamentos"), daAbertura, {}, abrir(&naAbertura), &naAbertura);
    medeJanela(quadro, gastos, QStringLiteral("buscar em Lançamentos"), daBusca, {contendo, contendo}, buscar(&naBusca),
         &naBusca);
}
