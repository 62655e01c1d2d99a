#include "bench/janelas.h"

#include "bench/falha.h"
#include "classification/analisedados.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"

#include <QApplication>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>

#include <memory>

namespace {

const int colunaValor = 5;

template<typename Janela>
using Guardada = std::shared_ptr<std::unique_ptr<Janela>>;

template<typename Janela>
Guardada<Janela> guardada()
{
    return std::make_shared<std::unique_ptr<Janela>>();
}

QTableWidget *grade(const QWidget &janela, const char *nome = nullptr)
{
    auto *tabela = janela.findChild<QTableWidget *>(nome ? QLatin1String(nome) : QString());
    if (!tabela)
        falha(QStringLiteral("no grid in ") + janela.metaObject()->className());
    return tabela;
}

void mostra(QWidget &janela)
{
    janela.show();
    QApplication::processEvents();
}

} // namespace

Operacao instrucao(const QString &sql, const QVariantList &valores, int *linhas)
{
    return {[] {}, [sql, valores, linhas] {
        QSqlQuery consulta;
        if (!consulta.prepare(sql))
            falha(consulta.lastError().text());
        for (const QVariant &valor : valores)
            consulta.addBindValue(valor);
        if (!consulta.exec())
            falha(consulta.lastError().text());
        const int colunas = consulta.record().count();
        *linhas = 0;
        while (consulta.next()) {
            for (int c = 0; c < colunas; ++c)
                consulta.value(c);
            ++*linhas;
        }
    }};
}

Operacao abrirRelatorio(int *linhas)
{
    auto relatorio = guardada<Relatorios>();
    return {[] {}, [relatorio, linhas] {
        *relatorio = std::make_unique<Relatorios>();
        mostra(**relatorio);
        *linhas = grade(**relatorio)->rowCount();
    }, [relatorio] { relatorio->reset(); }};
}

Operacao abrirClassificacao(int *linhas)
{
    auto dialogo = guardada<AnaliseDados>();
    return {[dialogo] { *dialogo = std::make_unique<AnaliseDados>(); }, [dialogo, linhas] {
        (*dialogo)->setupData();
        mostra(**dialogo);
        *linhas = grade(**dialogo, "tableWidget_dados")->rowCount();
    }, [dialogo] { dialogo->reset(); }};
}

Operacao listarDeNovo(int *linhas)
{
    auto dialogo = guardada<AnaliseDados>();
    return {[dialogo] {
        *dialogo = std::make_unique<AnaliseDados>();
        (*dialogo)->setupData();
        mostra(**dialogo);
        grade(**dialogo, "tableWidget_dados")->sortByColumn(colunaValor, Qt::DescendingOrder);
        QApplication::processEvents();
    }, [dialogo, linhas] {
        (*dialogo)->findChild<QPushButton *>(QStringLiteral("pushButton_filtro"))->click();
        QApplication::processEvents();
        *linhas = grade(**dialogo, "tableWidget_dados")->rowCount();
    }, [dialogo] { dialogo->reset(); }};
}

Operacao abrirDetalhe(int id, const QDate &mes, const QString &nome, int *linhas)
{
    auto janela = guardada<JanelaDetalhe>();
    return {[] {}, [janela, id, mes, nome, linhas] {
        *janela = std::make_unique<JanelaDetalhe>(id, mes, nome, nullptr);
        mostra(**janela);
        *linhas = grade(**janela)->rowCount();
    }, [janela] { janela->reset(); }};
}
