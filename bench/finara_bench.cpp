// Speed and memory of the program's heavy operations, each beside a bare
// baseline doing the same essential work:
//
//   finara_bench [SOCKET]
//
// SOCKET is the local server's socket (scripts/db-server socket; default
// $FINARA_DB_SOCKET). The benchmark works as root in a scratch database of
// its own, finara_bench, whose tables copy those of vestara_gastos (which
// scripts/db-server start creates), and drops it at the end.
//
// To add a figure: write one function that returns the Operacao to measure
// and one for its baseline, and compare them in main().

#include "bench/medicao.h"
#include "import/conversaoextrato.h"
#include "import/importarcsv.h"

#include "database/conexao.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

const char *const bancoBench = "finara_bench";

[[noreturn]] void falha(const QString &motivo)
{
    std::fprintf(stderr, "finara_bench: %s\n", qPrintable(motivo));
    std::exit(1);
}

void executa(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql))
        falha(sql + QStringLiteral(": ") + q.lastError().text());
}

QString socketDoServidor(const QStringList &argumentos)
{
    if (argumentos.size() > 1)
        return argumentos.at(1);
    const QString doAmbiente = qEnvironmentVariable("FINARA_DB_SOCKET");
    if (!doAmbiente.isEmpty())
        return doAmbiente;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/finara/mariadb/mysqld.sock");
}

// The default connection, as the dialogs use it, on a fresh finara_bench.
void criaBanco(const QString &socket)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(Conexao::driver());
    db.setHostName(QStringLiteral("localhost"));
    db.setUserName(QStringLiteral("root"));
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket);
    if (!Conexao::abrir(db))
        falha(QStringLiteral("cannot connect through %1: %2").arg(socket, db.lastError().text()));
    executa(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(bancoBench));
    executa(QStringLiteral("CREATE DATABASE %1").arg(bancoBench));
    executa(QStringLiteral("USE %1").arg(bancoBench));
    executa(QStringLiteral("CREATE TABLE gastos LIKE vestara_gastos.gastos"));
    executa(QStringLiteral("CREATE TABLE categoria LIKE vestara_gastos.categoria"));
}

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

QString geraExtrato(const QTemporaryDir &pasta, int linhas)
{
    const QStringList fornecedores {"Supermercado Pão de Açúcar", "Padaria Santa Luzia", "Posto Shell", "iFood",
                                    "Drogaria São Paulo", "Enel Distribuição", "Uber", "Atacadão"};
    QFile arquivo(pasta.filePath(QStringLiteral("extrato-%1.csv").arg(linhas)));
    if (!arquivo.open(QIODevice::WriteOnly))
        falha(QStringLiteral("cannot write ") + arquivo.fileName());
    QTextStream saida(&arquivo);
    saida.setCodec("UTF-8");
    const QDate inicio(2025, 12, 1);
    for (int i = 0; i < linhas; ++i) {
        saida << inicio.addDays(i % 365).toString(QStringLiteral("dd/MM/yyyy")) << ';'
              << fornecedores.at(i % fornecedores.size()) << ';' << valorBrasileiro((i * 7919) % 250000 + 1, i)
              << ';' << QStringLiteral("Compra número %1").arg(i) << '\n';
    }
    return arquivo.fileName();
}

// The records as the import binds them, for the bare insert loop.
QList<QStringList> registrosConvertidos(const QString &caminho)
{
    QFile arquivo(caminho);
    arquivo.open(QIODevice::ReadOnly);
    QList<QStringList> registros;
    for (const QString &linha : linhasDoExtrato(textoDoExtrato(arquivo.readAll()))) {
        const QStringList campos = camposDaLinha(linha);
        registros << QStringList {dataParaBanco(campos.at(0)), campos.at(1), valorParaBanco(campos.at(2)), campos.at(3)};
    }
    return registros;
}

std::unique_ptr<ImportarCSV> dialogoMostrado()
{
    auto dialogo = std::make_unique<ImportarCSV>();
    dialogo->show();
    QApplication::processEvents();
    return dialogo;
}

QTableWidget *grade(ImportarCSV &dialogo)
{
    return dialogo.findChild<QTableWidget *>(QStringLiteral("tableWidget_dados"));
}

void carrega(ImportarCSV &dialogo, const QString &caminho)
{
    bool ok = false;
    QMetaObject::invokeMethod(&dialogo, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, ok), Q_ARG(QString, caminho),
                              Q_ARG(QTableWidget *, grade(dialogo)));
    if (!ok)
        falha(QStringLiteral("could not read ") + caminho);
}

// Baseline: the file read line by line and split, kept in memory, no grid.
Operacao lerEDividir(const QString &caminho)
{
    return {[] {}, [caminho] {
        QFile arquivo(caminho);
        arquivo.open(QIODevice::ReadOnly | QIODevice::Text);
        QTextStream entrada(&arquivo);
        QVector<QStringList> linhas;
        while (!entrada.atEnd())
            linhas << entrada.readLine().split(QLatin1Char(';'));
    }};
}

// The preview: reading into the dialog's grid and painting it.
Operacao lerEMostrar(const QString &caminho, std::unique_ptr<ImportarCSV> &dialogo)
{
    return {[&dialogo] { dialogo = dialogoMostrado(); }, [&dialogo, caminho] {
        carrega(*dialogo, caminho);
        QApplication::processEvents();
    }, [&dialogo] { dialogo.reset(); }};
}

// Baseline: the prepared single-row insert in a bare loop, one transaction.
Operacao inserirEmLaco(const QList<QStringList> &registros)
{
    return {[] { executa(QStringLiteral("TRUNCATE TABLE gastos")); }, [registros] {
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

// The import of a loaded grid through the default connection's handle.
Operacao importarGrade(const QString &caminho, std::unique_ptr<ImportarCSV> &dialogo, QSqlDatabase *handle)
{
    return {[&dialogo, caminho, handle] {
        executa(QStringLiteral("TRUNCATE TABLE gastos"));
        dialogo = dialogoMostrado();
        dialogo->setupData(handle);
        carrega(*dialogo, caminho);
    }, [&dialogo] {
        bool ok = false;
        QMetaObject::invokeMethod(dialogo.get(), "insertTableWidgetDataToDatabase", Q_RETURN_ARG(bool, ok),
                                  Q_ARG(QTableWidget *, grade(*dialogo)));
        if (!ok)
            falha(QStringLiteral("the import failed"));
    }, [&dialogo] { dialogo.reset(); }};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    criaBanco(socketDoServidor(app.arguments()));
    QTemporaryDir pasta;

    QSqlDatabase padrao = QSqlDatabase::database();
    std::unique_ptr<ImportarCSV> dialogo; // the dialog of the run under way
    imprimeCabecalho();
    for (int tamanho : {1000, 10000, 100000}) {
        const QString extrato = geraExtrato(pasta, tamanho);
        imprimeComparacao(QStringLiteral("ler e dividir (base)"), QStringLiteral("ler e mostrar no diálogo"), tamanho,
                          compara(lerEDividir(extrato), lerEMostrar(extrato, dialogo)));
        imprimeComparacao(QStringLiteral("insert preparado em laço (base)"), QStringLiteral("importar a grade"),
                          tamanho, compara(inserirEmLaco(registrosConvertidos(extrato)),
                                           importarGrade(extrato, dialogo, &padrao)));
    }
    executa(QStringLiteral("DROP DATABASE %1").arg(bancoBench));
    return 0;
}
