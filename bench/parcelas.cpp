#include "bench/parcelas.h"

#include "bench/extrato.h"
#include "bench/falha.h"
#include "bench/janelas.h"
#include "bench/quadro.h"
#include "bench/sqlenviado.h"

#include "import/importarcsv.h"
#include "instalments/janelacompromissos.h"
#include "support/bancoteste.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTableWidget>

#include <memory>

namespace {

// A Nubank card's statement: a hundred shops, each purchase in ten instalments or not.
QString escreveFatura(const QString &pasta, int linhas, bool parcelada)
{
    const QString caminho = QDir(pasta).filePath(parcelada ? QStringLiteral("fatura-parcelada.csv")
                                                           : QStringLiteral("fatura.csv"));
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        falha(QStringLiteral("cannot write ") + caminho);
    arquivo.write("date,title,amount\n");
    const QDate inicio(2026, 10, 1);
    for (int i = 0; i < linhas; ++i) {
        const QString parcela = parcelada ? QStringLiteral(" - Parcela %1/10").arg(1 + i / 100 % 10) : QString();
        arquivo.write(QStringLiteral("%1,Loja %2%3,%4.%5\n")
                          .arg(inicio.addDays(i % 28).toString(Qt::ISODate))
                          .arg(i % 100)
                          .arg(parcela)
                          .arg(10 + i % 90)
                          .arg(i % 100, 2, 10, QLatin1Char('0'))
                          .toUtf8());
    }
    return caminho;
}

Operacao importaFatura(BancoTeste &banco, const QString &caminho, QSqlDatabase *handle)
{
    auto dialogo = std::make_shared<std::unique_ptr<ImportarCSV>>();
    return {[&banco, dialogo, caminho, handle] {
        banco.executa(QStringLiteral("DELETE FROM gastos"));
        banco.executa(QStringLiteral("DELETE FROM compra"));
        *dialogo = dialogoMostrado();
        (*dialogo)->setupData(handle);
        carrega(**dialogo, caminho);
    }, [dialogo] { importa(**dialogo); }, [dialogo] { dialogo->reset(); }};
}

Operacao abrirCompromissos(int *linhas)
{
    auto janela = std::make_shared<std::unique_ptr<JanelaCompromissos>>();
    return {[] {}, [janela, linhas] {
        *janela = std::make_unique<JanelaCompromissos>();
        (*janela)->show();
        QApplication::processEvents();
        *linhas = (*janela)->findChild<QTableWidget *>()->rowCount();
    }, [janela] { janela->reset(); }};
}

} // namespace

void medeParcelasNaImportacao(BancoTeste &banco, const QString &pasta, int linhas, Quadro &quadro)
{
    QSqlDatabase padrao = QSqlDatabase::database();
    const QVector<Medida> r = mede({importaFatura(banco, escreveFatura(pasta, linhas, false), &padrao),
                                    importaFatura(banco, escreveFatura(pasta, linhas, true), &padrao)});
    quadro.base(QStringLiteral("importar uma fatura de cartão (base)"), linhas, r.at(0));
    quadro.compara(QStringLiteral("importar a mesma fatura, em parcelas"), linhas, r.at(1),
                   QStringLiteral("sem parcelas"), r.at(0), 1.1);
    banco.executa(QStringLiteral("DELETE FROM gastos"));
    banco.executa(QStringLiteral("DELETE FROM compra"));
}

// A purchase per thousand expenses, each in ten instalments of which the
// expenses are some.
void medeCompromissos(BancoTeste &banco, int gastos, Quadro &quadro)
{
    const int compras = gastos / 1000;
    banco.executa(QStringLiteral("INSERT INTO compra (idCompra, fornecedor, parcelas) SELECT seq, CONCAT('Loja ', seq), "
                                 "10 FROM seq_1_to_1000000 WHERE seq <= ?"), {compras});
    banco.executa(QStringLiteral("UPDATE gastos SET idCompra = 1 + idGasto % ?, parcela = 1 + idGasto DIV ? % 10, "
                                 "parcelas = 10 WHERE idGasto % 100 = 0"), {compras, compras});
    const QString sql = sqlEnviadoPor([] { JanelaCompromissos janela; }, QStringLiteral("compra"));
    const QVariantList valores {-1, -1, QVariant(QVariant::Int), QVariant(QVariant::Int)};
    int naInstrucao = 0, naJanela = 0;
    const QVector<Medida> r = mede({instrucao(sql, valores, &naInstrucao), abrirCompromissos(&naJanela)});
    quadro.base(QStringLiteral("instrução das parcelas (base)"), gastos, r.at(0));
    quadro.compara(QStringLiteral("abrir os compromissos"), gastos, r.at(1), QStringLiteral("instrução"), r.at(0), 1.2);
    quadro.nota(QStringLiteral("%1 compras, %2 parcelas importadas").arg(compras).arg(naInstrucao));
    banco.executa(QStringLiteral("UPDATE gastos SET idCompra = NULL, parcela = NULL, parcelas = NULL"));
    banco.executa(QStringLiteral("DELETE FROM compra"));
}
