// The one place where Finara's speed is measured: each heavy operation
// beside a baseline doing the same essential work, measured in the same run
// on the same data, and the ratio checked against its target.
//
//   finara_bench [--n N] [SOCKET]
//
// N is the number of expenses (default 1,000,000; the statement file and
// the first report have N/10 rows). SOCKET is the local server's socket
// (scripts/db-server socket; default $FINARA_DB_SOCKET). The benchmark works
// in a scratch database of its own with the tables of database/schema.sql,
// reached like the tests' ones, and drops it at the end. It exits with 1
// when a target is missed.

#include "bench/bancos.h"
#include "bench/extrato.h"
#include "bench/falha.h"
#include "bench/gastossinteticos.h"
#include "bench/guardacaixas.h"
#include "bench/importacoes.h"
#include "bench/janelas.h"
#include "bench/lancamentos.h"
#include "bench/orcamento.h"
#include "bench/parcelas.h"
#include "bench/previa.h"
#include "bench/quadro.h"
#include "bench/regras.h"
#include "bench/sqlenviado.h"

#include "classification/analisedados.h"
#include "reports/janeladetalhe.h"
#include "reports/relatorios.h"
#include "support/bancoteste.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

// The offscreen platform warns at every window it shows; anything else
// still reaches the default handler.
QtMessageHandler tratadorPadrao = nullptr;

void filtraAvisos(QtMsgType tipo, const QMessageLogContext &contexto, const QString &texto)
{
    if (!texto.startsWith(QLatin1String("This plugin does not support")))
        tratadorPadrao(tipo, contexto, texto);
}

void executa(const BancoTeste &banco, const QString &sql)
{
    if (!banco.executa(sql))
        falha(QStringLiteral("cannot run: ") + sql);
}

// A run that stopped early leaves its scratch database, a million rows, behind.
void apagaBancosAbandonados(const BancoTeste &banco)
{
    QSqlQuery consulta(banco.admin());
    consulta.exec(QStringLiteral("SHOW DATABASES LIKE 'finara\\_teste\\_bench\\_%'"));
    while (consulta.next()) {
        const QString nome = consulta.value(0).toString();
        if (!QDir(QStringLiteral("/proc/") + nome.section(QLatin1Char('_'), -1)).exists())
            executa(banco, QStringLiteral("DROP DATABASE `%1`").arg(nome));
    }
}

struct Opcoes
{
    int gastos = 1000000;
};

Opcoes leOpcoes(const QApplication &app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("n"), QStringLiteral("Number of expenses (default 1000000)."),
                      QStringLiteral("N")});
    parser.addPositionalArgument(QStringLiteral("socket"), QStringLiteral("The local server's socket."));
    parser.process(app);
    Opcoes opcoes;
    if (parser.isSet(QStringLiteral("n")))
        opcoes.gastos = parser.value(QStringLiteral("n")).toInt();
    if (opcoes.gastos < 20000)
        falha(QStringLiteral("--n must be at least 20000"));
    if (!parser.positionalArguments().isEmpty())
        qputenv("FINARA_DB_SOCKET", parser.positionalArguments().constFirst().toLocal8Bit());
    return opcoes;
}

void insereCategorias(const BancoTeste &banco)
{
    const QStringList nomes = GastosSinteticos::categorias();
    for (int i = 0; i < nomes.size(); ++i) {
        if (!banco.executa(QStringLiteral("INSERT INTO categoria (idCategoria, categoria) VALUES (?, ?)"),
                           {i + 1, nomes.at(i)}))
            falha(QStringLiteral("cannot insert the categories"));
    }
}

// Rows [de, ate) of the synthetic expenses, then fresh statistics so the
// server plans on what is there.
void acrescentaGastos(const BancoTeste &banco, const GastosSinteticos &gastos, const QString &pasta, int de, int ate)
{
    QFile arquivo(QDir(pasta).filePath(QStringLiteral("gastos.tsv")));
    if (!arquivo.open(QIODevice::WriteOnly))
        falha(QStringLiteral("cannot write ") + arquivo.fileName());
    gastos.escreve(arquivo, de, ate);
    arquivo.close();
    QSqlQuery carregamento;
    const QString sql = QStringLiteral("LOAD DATA LOCAL INFILE '%1' INTO TABLE gastos CHARACTER SET utf8mb4 "
                                       "(data, fornecedor, valor, descricao, idCategoria)").arg(arquivo.fileName());
    if (!carregamento.exec(sql))
        falha(carregamento.lastError().text());
    executa(banco, QStringLiteral("ANALYZE TABLE gastos"));
}

QStringList indicesSecundarios()
{
    QSqlQuery consulta(QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS "
                                      "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'gastos' "
                                      "AND INDEX_NAME <> 'PRIMARY' ORDER BY INDEX_NAME"));
    QStringList nomes;
    while (consulta.next())
        nomes << consulta.value(0).toString();
    return nomes;
}

// The access the server chooses for gastos: the index and the join type.
QString plano(const QString &sql, const QVariantList &valores = {})
{
    QSqlQuery consulta;
    consulta.prepare(QStringLiteral("EXPLAIN ") + sql);
    for (const QVariant &valor : valores)
        consulta.addBindValue(valor);
    if (!consulta.exec())
        falha(consulta.lastError().text());
    while (consulta.next()) {
        if (consulta.value(QStringLiteral("table")).toString() == QLatin1String("gastos")) {
            const QString chave = consulta.value(QStringLiteral("key")).toString();
            return QStringLiteral("%1, %2").arg(chave.isEmpty() ? QStringLiteral("nenhum índice") : chave,
                                                consulta.value(QStringLiteral("type")).toString());
        }
    }
    return QString();
}

QString comIndice(QString sql, const QString &dica)
{
    const QString tabela = QStringLiteral("FROM gastos");
    if (sql.count(tabela) != 1)
        falha(QStringLiteral("the report statement does not name gastos exactly once"));
    return sql.replace(tabela, tabela + QLatin1Char(' ') + dica);
}

void confereLinhas(const QString &onde, int obtidas, int esperadas)
{
    if (obtidas != esperadas)
        falha(QStringLiteral("%1 gave %2 rows where %3 were expected").arg(onde).arg(obtidas).arg(esperadas));
}

class Bancada
{
public:
    Bancada(const Opcoes &opcoes, BancoTeste &banco)
        : m_banco(banco)
        , m_gastos(opcoes.gastos, QDate::currentDate())
        , m_menor(opcoes.gastos / 10)
    {
        m_padrao = QSqlDatabase::database();
        if (!m_pasta.isValid())
            falha(QStringLiteral("no temporary directory"));
        insereCategorias(m_banco);
    }

    void extrato();
    void bancos() { medeExtratosBancarios(m_pasta.path(), m_quadro); }
    void relatorio(int tamanho);
    void indicesDoRelatorio();
    void classificacao();
    void detalhe();
    void regrasNaImportacao() { medeRegrasNaImportacao(m_banco, m_pasta.path(), m_menor, m_quadro); }
    void aplicacaoDasRegras() { medeAplicacaoDasRegras(m_banco, total(), m_quadro); }
    void importacoes() { medeImportacoes(m_quadro, total()); }
    // A card bill as large as a household's gets: ten thousand rows.
    void parcelas() { medeParcelasNaImportacao(m_banco, m_pasta.path(), qMin(m_menor, 10000), m_quadro); }
    void compromissos() { medeCompromissos(m_banco, total(), m_quadro); }
    void lancamentos()
    {
        medeLancamentos(m_quadro, total());
        m_guarda.confere(QStringLiteral("the register"));
    }
    bool resumo() const { return m_quadro.resumo(); }

    // Loads the synthetic expenses up to row `ate`.
    void acrescenta(int ate)
    {
        acrescentaGastos(m_banco, m_gastos, m_pasta.path(), m_carregados, ate);
        m_carregados = ate;
    }
    int menor() const { return m_menor; }
    int total() const { return m_gastos.total(); }

private:
    QString capturado(const QString &onde, const std::function<void()> &acao)
    {
        const QString sql = sqlEnviadoPor(acao);
        m_guarda.confere(onde);
        return sql;
    }

    QVector<Medida> mede(const QString &onde, const QVector<Operacao> &operacoes)
    {
        const QVector<Medida> resultados = ::mede(operacoes);
        m_guarda.confere(onde);
        return resultados;
    }

    BancoTeste &m_banco;
    QSqlDatabase m_padrao;
    GastosSinteticos m_gastos;
    int m_menor;
    int m_carregados = 0;
    QTemporaryDir m_pasta;
    GuardaCaixas m_guarda;
    Quadro m_quadro;
};

void Bancada::extrato()
{
    const Extrato extrato(m_pasta.path(), m_menor, m_banco);
    const QVector<Medida> leitura = mede(QStringLiteral("the preview"), {extrato.lerEDividir(), extrato.lerEMostrar(),
                                                                           extrato.lerAsDatas()});
    m_quadro.base(QStringLiteral("ler e dividir o extrato (base)"), m_menor, leitura.at(0));
    comparaPrevia(m_quadro, QStringLiteral("ler o extrato na grade do diálogo"), m_menor, leitura.at(1),
                  leitura.at(0), leitura.at(2), 250);
    // Again with every row already in gastos: the marking's whole work.
    extrato.carregarLocal().executa();
    const QVector<Medida> repetido = mede(QStringLiteral("the preview"), {extrato.lerEDividir(), extrato.lerEMostrar(),
                                                                            extrato.lerAsDatas()});
    comparaPrevia(m_quadro, QStringLiteral("ler o extrato já importado"), m_menor, repetido.at(1), repetido.at(0),
                  repetido.at(2));

    executa(m_banco, QStringLiteral("INSERT INTO conta (idConta, nome, tipo) VALUES (1, 'Conta', 0)"));
    const QVector<Medida> importacao = mede(QStringLiteral("the import"),
                                               {extrato.inserirEmLaco(), extrato.importarGrade(&m_padrao),
                                                extrato.carregarLocal(), extrato.importarGrade(&m_padrao, 1)});
    m_quadro.base(QStringLiteral("insert preparado em laço (base)"), m_menor, importacao.at(0));
    m_quadro.compara(QStringLiteral("LOAD DATA LOCAL INFILE"), m_menor, importacao.at(2),
                     QStringLiteral("insert em laço"), importacao.at(0));
    m_quadro.compara(QStringLiteral("importar a grade numa transação"), m_menor, importacao.at(1),
                     QStringLiteral("insert em laço"), importacao.at(0), 1.15);
    m_quadro.compara(QStringLiteral("importar a grade numa transação"), m_menor, importacao.at(1),
                     QStringLiteral("LOAD DATA LOCAL INFILE"), importacao.at(2));
    m_quadro.compara(QStringLiteral("importar a grade numa conta lembrada"), m_menor, importacao.at(3),
                     QStringLiteral("sem conta"), importacao.at(1), 1.05);
    executa(m_banco, QStringLiteral("TRUNCATE TABLE gastos"));
}

// The report's own statement, and with it the month's income beneath it.
void Bancada::relatorio(int tamanho)
{
    const QString sql = capturado(QStringLiteral("the report"), [] { Relatorios relatorio; });
    const QString sqlDasEntradas = sqlEnviadoPor([] { Relatorios relatorio; }, QStringLiteral("entrada"));
    int linhasDaInstrucao = 0, linhasDaJanela = 0, entradas = 0;
    const Operacao doRelatorio = instrucao(sql, {}, &linhasDaInstrucao);
    const Operacao dasEntradas = instrucao(sqlDasEntradas, {12}, &entradas);
    const Operacao ambas {[] {}, [doRelatorio, dasEntradas] {
        doRelatorio.executa();
        dasEntradas.executa();
    }};
    const QVector<Medida> r = mede(QStringLiteral("the report"), {ambas, abrirRelatorio(&linhasDaJanela)});
    confereLinhas(QStringLiteral("the report"), linhasDaJanela, linhasDaInstrucao);
    m_quadro.base(QStringLiteral("instruções do relatório e das entradas (base; %1)").arg(plano(sql)), tamanho, r.at(0));
    m_quadro.compara(QStringLiteral("abrir o relatório de doze meses, com entradas e saldo"), tamanho, r.at(1),
                     QStringLiteral("instruções"), r.at(0), 1.2);
    medeOrcamento(m_quadro, sql, tamanho);
}

// The report statement as the server plans it beside the same text bound to
// each index, schema's and others tried here, and to none.
void Bancada::indicesDoRelatorio()
{
    const QStringList alternativos {QStringLiteral("ix_alt_data (data)"),
                                    QStringLiteral("ix_alt_cat_data_valor (idCategoria, data, valor)")};
    for (const QString &indice : alternativos)
        executa(m_banco, QStringLiteral("CREATE INDEX %1 ON gastos %2").arg(indice.section(' ', 0, 0), indice.section(' ', 1)));

    const QString sql = capturado(QStringLiteral("the report"), [] { Relatorios relatorio; });
    QStringList nomes {QStringLiteral("como está (%1)").arg(plano(sql))};
    QVector<QString> textos {sql};
    const QStringList indices = indicesSecundarios();
    for (const QString &indice : indices) {
        nomes << QStringLiteral("FORCE INDEX (%1)").arg(indice);
        textos << comIndice(sql, nomes.last());
    }
    nomes << QStringLiteral("IGNORE INDEX (todos)");
    textos << comIndice(sql, QStringLiteral("IGNORE INDEX (%1)").arg(indices.join(QStringLiteral(", "))));

    QVector<Operacao> operacoes;
    QVector<int> linhas(textos.size());
    for (int i = 0; i < textos.size(); ++i)
        operacoes << instrucao(textos.at(i), {}, &linhas[i]);
    const QVector<Medida> r = mede(QStringLiteral("the report's indexes"), operacoes);
    for (int linhasDaVariante : linhas)
        confereLinhas(QStringLiteral("an index variant of the report"), linhasDaVariante, linhas.first());

    int melhor = 1;
    m_quadro.base(QStringLiteral("relatório: ") + nomes.first(), total(), r.first());
    for (int i = 1; i < r.size(); ++i) {
        m_quadro.compara(QStringLiteral("relatório: ") + nomes.at(i), total(), r.at(i), QStringLiteral("como está"), r.first());
        if (r.at(i).medianaS < r.at(melhor).medianaS)
            melhor = i;
    }
    m_quadro.compara(QStringLiteral("relatório: como está"), total(), r.first(), nomes.at(melhor), r.at(melhor), 1.1);

    for (const QString &indice : alternativos)
        executa(m_banco, QStringLiteral("DROP INDEX %1 ON gastos").arg(indice.section(' ', 0, 0)));
}

void Bancada::classificacao()
{
    const QString sql = capturado(QStringLiteral("the classification dialog"), [] {
        AnaliseDados dialogo;
        dialogo.setupData();
    });
    const QDate mes = m_gastos.mesListado();
    const QDate inicio(mes.year(), mes.month(), 1);
    // The filter stands twice in the statement, empty as the dialog opens, and no expense was
    // just classified; then the month's range.
    const QVariantList valores {QString(""), QString(""), QString(""), inicio, inicio.addMonths(1)};
    int naInstrucao = 0, naPrimeira = 0, naSegunda = 0;
    const QVector<Medida> r = mede(QStringLiteral("the classification dialog"),
                                      {instrucao(sql, valores, &naInstrucao),
                                       abrirClassificacao(&naPrimeira), listarDeNovo(&naSegunda)});
    for (int linhas : {naInstrucao, naPrimeira, naSegunda})
        confereLinhas(QStringLiteral("the month's listing"), linhas, m_gastos.porMes());
    m_quadro.base(QStringLiteral("instrução da listagem do mês (base; %1)").arg(plano(sql, valores)), total(), r.at(0));
    m_quadro.compara(QStringLiteral("abrir a classificação (lista o mês)"), total(), r.at(1),
                     QStringLiteral("instrução da listagem"), r.at(0), 2);
    m_quadro.compara(QStringLiteral("listar de novo, ordenada por valor"), total(), r.at(2),
                     QStringLiteral("primeira listagem"), r.at(1), 1.2);
    m_quadro.nota(QStringLiteral("o mês listado tem %1 gastos").arg(m_gastos.porMes()));
}

void Bancada::detalhe()
{
    const QDate mes = m_gastos.mesDetalhado();
    const int id = GastosSinteticos::categoriaDetalhada();
    const QString nome = GastosSinteticos::categorias().at(id - 1);
    const QString sqlDaCategoria = capturado(QStringLiteral("the detail window"),
                                             [&] { JanelaDetalhe janela(id, mes, nome, nullptr); });
    const QString sqlSemCategoria = capturado(QStringLiteral("the unclassified detail window"),
                                              [&] { JanelaDetalhe janela(0, mes, QString(), nullptr); });

    const QVariantList daCategoria {id, mes.year(), mes.month()};
    const QVariantList doMes {mes.year(), mes.month()};
    int naInstrucao = 0, naJanela = 0, semCategoria = 0, semCategoriaNaJanela = 0;
    const QVector<Medida> r = mede(
        QStringLiteral("the detail window"),
        {instrucao(sqlDaCategoria, daCategoria, &naInstrucao), abrirDetalhe(id, mes, nome, &naJanela),
         instrucao(sqlSemCategoria, doMes, &semCategoria),
         abrirDetalhe(0, mes, QStringLiteral("Não Classificado"), &semCategoriaNaJanela)});
    confereLinhas(QStringLiteral("the category's detail"), naInstrucao, m_gastos.porMes());
    confereLinhas(QStringLiteral("the category's detail window"), naJanela, m_gastos.porMes());
    confereLinhas(QStringLiteral("the unclassified detail window"), semCategoriaNaJanela, semCategoria);

    m_quadro.base(QStringLiteral("instrução do detalhe (base; %1)").arg(plano(sqlDaCategoria, daCategoria)), total(), r.at(0));
    m_quadro.compara(QStringLiteral("abrir o detalhe de %1").arg(nome), total(), r.at(1),
                     QStringLiteral("instrução do detalhe"), r.at(0), 2.5);
    m_quadro.base(QStringLiteral("instrução sem categoria (base; %1)").arg(plano(sqlSemCategoria, doMes)), total(), r.at(2));
    m_quadro.compara(QStringLiteral("abrir o detalhe de Não Classificado"), total(), r.at(3),
                     QStringLiteral("instrução sem categoria"), r.at(2));
    m_quadro.nota(QStringLiteral("o detalhe de %1 lista %2 gastos, o de Não Classificado %3")
                      .arg(nome).arg(naJanela).arg(semCategoria));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tratadorPadrao = qInstallMessageHandler(filtraAvisos);
    const Opcoes opcoes = leOpcoes(app);

    BancoTeste banco(QStringLiteral("bench"));
    if (!banco.pronto())
        falha(banco.erro());
    apagaBancosAbandonados(banco);
    bool cumpridas = false;
    {
        Bancada bancada(opcoes, banco);
        executa(banco, QStringLiteral("INSERT INTO entrada (data, descricao, valor) SELECT CURDATE() - INTERVAL seq "
                                      "MONTH, 'Salário', 9500 FROM seq_0_to_36"));
        bancada.extrato();
        bancada.bancos();
        bancada.regrasNaImportacao();
        bancada.acrescenta(bancada.menor());
        bancada.relatorio(bancada.menor());
        bancada.acrescenta(bancada.total());
        bancada.relatorio(bancada.total());
        bancada.indicesDoRelatorio();
        bancada.classificacao();
        bancada.detalhe();
        bancada.lancamentos();
        bancada.aplicacaoDasRegras();
        bancada.importacoes();
        bancada.compromissos();
        bancada.parcelas();
        cumpridas = bancada.resumo();
    }
    return cumpridas ? 0 : 1;
}
