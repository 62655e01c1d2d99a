#include "bench/extrato.h"

#include "bench/falha.h"
#include "bench/previa.h"
#include "statements/data.h"
#include "statements/textoextrato.h"
#include "statements/valor.h"
#include "import/importarcsv.h"
#include "support/bancoteste.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>
#include <memory>

namespace {

using Dialogo = std::shared_ptr<std::unique_ptr<ImportarCSV>>;

// Brazilian notation in the forms banks export: "R$ 1.234,56", "-45,90",
// "12.50".
QString valorBrasileiro(int centavos, int forma)
{
    const QString reais = QLocale(QLocale::Portuguese, QLocale::Brazil).toString(centavos / 100);
    const QString centimos = QStringLiteral("%1").arg(centavos % 100, 2, 10, QLatin1Char('0'));
    switch (forma % 4) {
    case 0: return QStringLiteral("R$ %1,%2").arg(reais, centimos);
    case 1: return QStringLiteral("-%1,%2").arg(centavos / 100).arg(centimos);
    case 2: return QStringLiteral("%1.%2").arg(centavos / 100).arg(centimos);
    default: return QStringLiteral("%1,%2").arg(centavos / 100).arg(centimos);
    }
}

void escreveExtrato(const QString &caminho, int linhas)
{
    const QStringList fornecedores {"Supermercado Pão de Açúcar", "Padaria Santa Luzia", "Posto Shell", "iFood",
                                    "Drogaria São Paulo", "Enel Distribuição", "Uber", "Atacadão"};
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        falha(QStringLiteral("cannot write ") + caminho);
    QTextStream saida(&arquivo);
    saida.setCodec("UTF-8");
    const QDate inicio(2025, 12, 1);
    for (int i = 0; i < linhas; ++i) {
        saida << inicio.addDays(i % 365).toString(QStringLiteral("dd/MM/yyyy")) << ';'
              << fornecedores.at(i % fornecedores.size()) << ';' << valorBrasileiro((i * 7919) % 250000 + 1, i)
              << ';' << QStringLiteral("Compra número %1").arg(i) << '\n';
    }
}

// The records as the import binds them.
QList<QStringList> registrosConvertidos(const QString &caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        falha(QStringLiteral("cannot read ") + caminho);
    QList<QStringList> registros;
    for (const QString &linha : linhasDoExtrato(textoDoExtrato(arquivo.readAll()))) {
        const QStringList campos = camposDaLinha(linha, QLatin1Char(';'), Aspas::Removidas);
        registros << QStringList {leData(campos.at(0), QStringLiteral("dd/MM/yyyy")).toString(Qt::ISODate), campos.at(1),
                                  valorParaBanco(*leCentavos(campos.at(2), NotacaoValor::Brasileira)), campos.at(3)};
    }
    return registros;
}

void escreveConvertidos(const QString &caminho, const QList<QStringList> &registros)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        falha(QStringLiteral("cannot write ") + caminho);
    QTextStream saida(&arquivo);
    saida.setCodec("UTF-8");
    for (const QStringList &registro : registros)
        saida << registro.join(QLatin1Char('\t')) << '\n';
}

QTableWidget *grade(ImportarCSV &dialogo)
{
    return dialogo.findChild<QTableWidget *>(QStringLiteral("tableWidget_dados"));
}

} // namespace

std::unique_ptr<ImportarCSV> dialogoMostrado()
{
    auto dialogo = std::make_unique<ImportarCSV>();
    dialogo->show();
    QApplication::processEvents();
    return dialogo;
}

void carrega(ImportarCSV &dialogo, const QString &caminho)
{
    bool ok = false;
    QMetaObject::invokeMethod(&dialogo, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, ok), Q_ARG(QString, caminho),
                              Q_ARG(QTableWidget *, grade(dialogo)));
    if (!ok)
        falha(QStringLiteral("the dialog could not read ") + caminho);
}

void importa(ImportarCSV &dialogo)
{
    bool ok = false;
    QMetaObject::invokeMethod(&dialogo, "insertTableWidgetDataToDatabase", Q_RETURN_ARG(bool, ok),
                              Q_ARG(QTableWidget *, grade(dialogo)));
    if (!ok)
        falha(QStringLiteral("the import failed"));
}

Extrato::Extrato(const QString &pasta, int linhas, BancoTeste &banco)
    : m_caminho(QDir(pasta).filePath(QStringLiteral("extrato-%1.csv").arg(linhas)))
    , m_convertido(QDir(pasta).filePath(QStringLiteral("extrato-%1.tsv").arg(linhas)))
    , m_banco(banco)
{
    escreveExtrato(m_caminho, linhas);
    m_registros = registrosConvertidos(m_caminho);
    escreveConvertidos(m_convertido, m_registros);
}

Operacao Extrato::lerEDividir() const
{
    return {[] {}, [caminho = m_caminho] {
        QFile arquivo(caminho);
        arquivo.open(QIODevice::ReadOnly | QIODevice::Text);
        QTextStream entrada(&arquivo);
        QVector<QStringList> linhas;
        while (!entrada.atEnd())
            linhas << entrada.readLine().split(QLatin1Char(';'));
    }};
}

Operacao Extrato::lerEMostrar() const
{
    Dialogo dialogo = std::make_shared<std::unique_ptr<ImportarCSV>>();
    return {[dialogo] { *dialogo = dialogoMostrado(); }, [dialogo, caminho = m_caminho] {
        carrega(**dialogo, caminho);
        QApplication::processEvents();
    }, [dialogo] { dialogo->reset(); }};
}

Operacao Extrato::lerAsDatas() const
{
    QStringList datas;
    for (const QStringList &registro : m_registros)
        datas << registro.at(0);
    std::sort(datas.begin(), datas.end());
    return ::lerAsDatas(QDate::fromString(datas.value(0), Qt::ISODate),
                        QDate::fromString(datas.value(datas.size() - 1), Qt::ISODate));
}

Operacao Extrato::inserirEmLaco() const
{
    return {[this] { esvaziaGastos(); }, [registros = m_registros] {
        QSqlDatabase db = QSqlDatabase::database();
        db.transaction();
        QSqlQuery query;
        query.prepare(QStringLiteral("INSERT INTO gastos (data, fornecedor, valor, descricao) VALUES (?, ?, ?,?)"));
        for (const QStringList &registro : registros) {
            for (int i = 0; i < 4; ++i)
                query.bindValue(i, registro.at(i), QSql::In);
            if (!query.exec())
                falha(query.lastError().text());
        }
        db.commit();
    }};
}

Operacao Extrato::importarGrade(QSqlDatabase *handle, int idConta) const
{
    Dialogo dialogo = std::make_shared<std::unique_ptr<ImportarCSV>>();
    return {[this, dialogo, handle, idConta] {
        esvaziaGastos();
        m_banco.executa(QStringLiteral("DELETE FROM conta_do_arquivo"));
        if (idConta > 0)
            m_banco.executa(QStringLiteral("INSERT INTO conta_do_arquivo VALUES ('Finara (CSV)', ?)"), {idConta});
        *dialogo = dialogoMostrado();
        (*dialogo)->setupData(handle);
        carrega(**dialogo, m_caminho);
    }, [dialogo] { importa(**dialogo); }, [dialogo] { dialogo->reset(); }};
}

Operacao Extrato::carregarLocal() const
{
    // A file name cannot be bound; this one is the benchmark's own.
    const QString sql = QStringLiteral("LOAD DATA LOCAL INFILE '%1' INTO TABLE gastos CHARACTER SET utf8mb4 "
                                       "(data, fornecedor, valor, descricao)").arg(m_convertido);
    return {[this] { esvaziaGastos(); }, [sql] {
        QSqlQuery query;
        if (!query.exec(sql))
            falha(query.lastError().text());
    }};
}

void Extrato::esvaziaGastos() const
{
    if (!m_banco.executa(QStringLiteral("TRUNCATE TABLE gastos")))
        falha(QStringLiteral("cannot empty gastos"));
}
