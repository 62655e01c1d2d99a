#include "import/linhasrepetidas.h"

#include "database/sql.h"
#include "import/gradedaprevia.h"
#include "import/historicodeimportacoes.h"
#include "statements/valor.h"

#include "messages/caixamensagem.h"

#include <QTableWidget>

#include <algorithm>
#include <iterator>
#include <map>

namespace {

// Rows of texts per statement: well inside the server's packet limit
// whatever they hold, so that no size of preview breaks the marking.
const int porInstrucao = 2000;

// What the preview's rows may repeat, in the preview's sign (money in
// negative): expenses, income and transfers, of the import's account or of
// none (0 for the account: any). An imported expense changed by hand or split
// as its file wrote it; one typed by hand as it is now, the parts of a split
// one by the group they make.
const QString sqlPeriodo = QStringLiteral(
    "SELECT data, valor, fornecedor, IFNULL(descricao, ''), IFNULL(idImportacao, 0), idTransacao IS NOT NULL, "
    "0, idGasto, idDivisao FROM gastos WHERE data BETWEEN ? AND ? AND dataNoExtrato IS NULL "
    "AND (idDivisao IS NULL OR idImportacao IS NULL) AND fornecedor IS NOT NULL "
    "AND (? = 0 OR idConta IS NULL OR idConta = ?) "
    "UNION ALL SELECT dataNoExtrato, valorNoExtrato, fornecedorNoExtrato, IFNULL(descricaoNoExtrato, ''), "
    "IFNULL(idImportacao, 0), idTransacao IS NOT NULL, 0, idGasto, NULL FROM gastos "
    "WHERE dataNoExtrato BETWEEN ? AND ? AND fornecedorNoExtrato IS NOT NULL "
    "AND (? = 0 OR idConta IS NULL OR idConta = ?) "
    "UNION ALL SELECT data, -valor, fornecedor, IFNULL(descricao, ''), IFNULL(idImportacao, 0), "
    "idTransacao IS NOT NULL, 1, idEntrada, NULL FROM entrada WHERE data BETWEEN ? AND ? AND fornecedor IS NOT NULL "
    "AND (? = 0 OR idConta IS NULL OR idConta = ?) "
    "UNION ALL SELECT data, -valor, fornecedor, IFNULL(descricao, ''), IFNULL(idImportacao, 0), "
    "idTransacao IS NOT NULL, 2, idTransferencia, NULL FROM transferencia WHERE data BETWEEN ? AND ? "
    "AND fornecedor IS NOT NULL "
    "AND (? = 0 OR idConta IS NULL OR idConta = ?)");

// The stored rows that carry one of the preview's bank ids (distinct), in
// its date range, with the date, amount (in the preview's sign) and account
// their file gave them: an imported expense changed by hand or split as its
// file wrote it; one of an older version has no account. The ids alone go to
// the server, since reading typed columns out of the JSON cost more than the
// rest of the marking; rows are matched to them here.
const QString sqlPorId = QStringLiteral(
    "WITH p AS (SELECT * FROM JSON_TABLE(?, '$[*]' COLUMNS ("
    "idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin PATH '$')) AS j) "
    "SELECT 0, g.idGasto, IFNULL(g.fornecedorNoExtrato, g.fornecedor), IFNULL(g.idImportacao, 0), g.idTransacao, "
    "IFNULL(g.dataNoExtrato, g.data), IFNULL(g.valorNoExtrato, g.valor), g.contaExtrato "
    "FROM p JOIN gastos g ON g.idTransacao = p.idTransacao WHERE IFNULL(g.dataNoExtrato, g.data) BETWEEN ? AND ? "
    "UNION ALL SELECT 1, e.idEntrada, e.fornecedor, IFNULL(e.idImportacao, 0), e.idTransacao, e.data, -e.valor, "
    "e.contaExtrato FROM p JOIN entrada e ON e.idTransacao = p.idTransacao WHERE e.data BETWEEN ? AND ? "
    "UNION ALL SELECT 2, t.idTransferencia, t.fornecedor, IFNULL(t.idImportacao, 0), t.idTransacao, t.data, "
    "-t.valor, t.contaExtrato FROM p JOIN transferencia t ON t.idTransacao = p.idTransacao "
    "WHERE t.data BETWEEN ? AND ?");

const QString sqlImportacoes = QStringLiteral("SELECT idImportacao, quando FROM importacao");

// The weight the server's collation gives each text (trailing blanks,
// which it ignores in comparing, taken off before): texts are equal when
// their weights are. Asked once per distinct text, since weighing every
// expense of the range, or grouping them on the server, costs several times
// reading them.
const QString sqlPesos = QStringLiteral(
    "SELECT n.texto, WEIGHT_STRING(n.texto) FROM JSON_TABLE(?, '$[*]' COLUMNS ("
    "texto VARCHAR(1000) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$')) AS n");

// Printable ASCII and the Latin-1 and Latin Extended-A letters: under the
// server's collation a text of these weighs as its letters' weights one
// after another (none of them contract with the next), so that most of a
// statement's texts are weighed here from these 319, asked once.
const ushort depoisDasLetras = 0x180;

bool letraConhecida(ushort letra)
{
    return (letra >= 0x20 && letra <= 0x7e) || (letra >= 0xa0 && letra < depoisDasLetras);
}

bool soLetras(const QString &texto)
{
    return std::all_of(texto.cbegin(), texto.cend(), [](QChar c) { return letraConhecida(c.unicode()); });
}

QString semBrancosAoFim(const QString &texto)
{
    int fim = texto.size();
    while (fim > 0 && texto.at(fim - 1) == QLatin1Char(' '))
        --fim;
    return texto.left(fim);
}

// A stored row: its table (HistoricoDeImportacoes::Tabela) and key; none
// for a row of an earlier file of the grid.
struct Guardada
{
    int tabela = -1;
    int id = 0;
};

bool operator==(const Guardada &a, const Guardada &b)
{
    return a.tabela == b.tabela && a.id == b.id;
}

uint qHash(const Guardada &guardada, uint semente = 0)
{
    return ::qHash(guardada.tabela, semente) ^ ::qHash(guardada.id, semente + 1);
}

// A stored row as far as telling rows apart goes.
struct Lancamento
{
    qint64 dia = 0;
    qint64 centavos = 0;
    QString fornecedor;
    QString descricao;
    bool comId = false;
    int idImportacao = 0;
    Guardada guardada;
};

// Date, amount and the texts' weights (numbered): what makes rows equal.
struct Chave
{
    qint64 dia = 0;
    qint64 centavos = 0;
    int fornecedor = -1;
    int descricao = -1;
};

bool operator==(const Chave &a, const Chave &b)
{
    return a.dia == b.dia && a.centavos == b.centavos && a.fornecedor == b.fornecedor && a.descricao == b.descricao;
}

uint qHash(const Chave &chave, uint semente = 0)
{
    return ::qHash(chave.dia, semente) ^ ::qHash(chave.centavos, semente + 1)
           ^ ::qHash(chave.fornecedor, semente + 2) ^ ::qHash(chave.descricao, semente + 3);
}

// The expenses and earlier rows that one key stands for.
struct Grupo
{
    int todos = 0;
    int semId = 0;
    QVector<Guardada> semIdDoBanco; // the stored rows, without a bank id first
    QVector<Guardada> doBanco;
    int idImportacao = 0; // the latest import among them; 0 when none came from one
};

// A bank's id on a day, for an amount: what a row repeated by its id agrees in.
struct IdNoDia
{
    QString id;
    qint64 dia = 0;
    qint64 centavos = 0;
};

bool operator==(const IdNoDia &a, const IdNoDia &b)
{
    return a.dia == b.dia && a.centavos == b.centavos && a.id == b.id;
}

uint qHash(const IdNoDia &chave, uint semente = 0)
{
    return ::qHash(chave.id, semente) ^ ::qHash(chave.dia, semente + 1) ^ ::qHash(chave.centavos, semente + 2);
}

// A repeated row: its notice, and the stored row it stands for.
struct Repeticao
{
    QString aviso;
    Guardada guardada;
};

QString aviso(const QDateTime &quando)
{
    if (!quando.isValid())
        return QStringLiteral("Já está no banco de dados, lançado sem importação.");
    return QStringLiteral("Já está no banco de dados: importado em %1.").arg(HistoricoDeImportacoes::quando(quando));
}

const QString naGrade = QStringLiteral("Já está na grade: um arquivo lido antes trouxe a mesma linha.");

} // namespace

// The grid's rows as the statements need them, and what they found.
struct LinhasRepetidas::Achados
{
    QVector<GradeDaPrevia::Linha> previa; // in grid order
    QVector<Lancamento> periodo;          // the expenses of the preview's date range
    QHash<int, Lancamento> porId;         // rows whose transaction is stored, and that row
    int idConta = 0;                      // the import's account: 0 none, -1 one not made yet
    QHash<int, QDateTime> importacoes;
    QHash<QString, int> pesos; // each text's weight, numbered

    Resultado<> lerPeriodo();
    Resultado<> lerIds();
    Resultado<> lerImportacoes();
    Resultado<> pesar(const QSet<QString> &textos);
    static Resultado<QHash<QString, QByteArray>> pesosNoServidor(const QSet<QString> &textos);
    void tomaPorId(const QVector<QPair<int, Lancamento>> &achadas);
    Chave chave(qint64 dia, qint64 centavos, const QString &fornecedor, const QString &descricao) const
    {
        return {dia, centavos, pesos.value(fornecedor, -1), pesos.value(descricao, -1)};
    }
    QHash<int, Repeticao> repeticoes() const;
};

Resultado<> LinhasRepetidas::Achados::lerPeriodo()
{
    QDate primeira, ultima;
    for (const GradeDaPrevia::Linha &linha : qAsConst(previa)) {
        if (linha.data && linha.centavos) {
            primeira = primeira.isValid() ? qMin(primeira, *linha.data) : *linha.data;
            ultima = qMax(ultima, *linha.data);
        }
    }
    if (!primeira.isValid())
        return Feito();
    QVariantList valores;
    for (int parte = 0; parte < 4; ++parte)
        valores << primeira << ultima << idConta << idConta;
    Resultado<QSqlQuery> consulta = Sql::executa(sqlPeriodo, valores);
    if (!consulta.ok())
        return consulta.motivo();
    QHash<int, int> divisoes; // each split expense's place in periodo
    for (QSqlQuery &q = consulta.valor(); q.next();) {
        const Lancamento parte {q.value(0).toDate().toJulianDay(), Sql::centavos(q.value(1)), q.value(2).toString(),
                                q.value(3).toString(), q.value(5).toBool(), q.value(4).toInt(),
                                {q.value(6).toInt(), q.value(7).toInt()}};
        const int divisao = q.value(8).toInt();
        if (divisao && divisoes.contains(divisao)) {
            Lancamento &gasto = periodo[divisoes.value(divisao)];
            gasto.centavos += parte.centavos;
            gasto.comId = gasto.comId || parte.comId;
            gasto.guardada.id = qMin(gasto.guardada.id, parte.guardada.id); // the first part
            continue;
        }
        if (divisao)
            divisoes.insert(divisao, periodo.size());
        periodo.append(parte);
    }
    return Feito();
}

// By the bank's id only when the account, the date and the amount agree
// too: an OFX id is unique only within its account, and some banks repeat
// one id on many rows.
Resultado<> LinhasRepetidas::Achados::lerIds()
{
    QHash<IdNoDia, QVector<int>> linhasDoId; // a bank may give all its rows one id
    QSet<QString> ids;
    QDate primeira, ultima;
    for (int n = 0; n < previa.size(); ++n) {
        const GradeDaPrevia::Linha &linha = previa.at(n);
        if (linha.idBanco.isEmpty() || !linha.data || !linha.centavos)
            continue;
        linhasDoId[{linha.idBanco, linha.data->toJulianDay(), *linha.centavos}] << n;
        ids.insert(linha.idBanco);
        primeira = primeira.isValid() ? qMin(primeira, *linha.data) : *linha.data;
        ultima = qMax(ultima, *linha.data);
    }
    QVector<QPair<int, Lancamento>> achadas;
    const QStringList distintos = ids.values();
    for (int lote = 0; lote < distintos.size(); lote += porInstrucao) {
        QVariantList valores {Sql::json(QJsonArray::fromStringList(distintos.mid(lote, porInstrucao)))};
        for (int parte = 0; parte < 3; ++parte)
            valores << primeira << ultima;
        Resultado<QSqlQuery> consulta = Sql::executa(sqlPorId, valores);
        if (!consulta.ok())
            return consulta.motivo();
        for (QSqlQuery &q = consulta.valor(); q.next();) {
            const Lancamento guardada {q.value(5).toDate().toJulianDay(), Sql::centavos(q.value(6)),
                                       q.value(2).toString(), {}, true, q.value(3).toInt(),
                                       {q.value(0).toInt(), q.value(1).toInt()}};
            const QString conta = q.value(7).toString();
            for (const int n : linhasDoId.value({q.value(4).toString(), guardada.dia, guardada.centavos})) {
                if (q.isNull(7) || conta == previa.at(n).conta)
                    achadas.append({n, guardada});
            }
        }
    }
    tomaPorId(achadas);
    return Feito();
}

// Each stored row stands for one row of the grid, taken in the order the
// files were read: first by a row with its supplier, so that two purchases
// a bank gave one id on one day, for one amount, keep their names.
void LinhasRepetidas::Achados::tomaPorId(const QVector<QPair<int, Lancamento>> &achadas)
{
    QVector<QPair<int, Lancamento>> emOrdem = achadas;
    std::stable_sort(emOrdem.begin(), emOrdem.end(), [this](const auto &a, const auto &b) {
        return std::make_pair(previa.at(a.first).carga, a.first) < std::make_pair(previa.at(b.first).carga, b.first);
    });
    QSet<Guardada> tomadas;
    for (const bool peloFornecedor : {true, false}) {
        for (const auto &[n, guardada] : qAsConst(emOrdem)) {
            const bool mesmoFornecedor =
                guardada.fornecedor.compare(previa.at(n).fornecedor.trimmed(), Qt::CaseInsensitive) == 0;
            if (porId.contains(n) || tomadas.contains(guardada.guardada) || (peloFornecedor && !mesmoFornecedor))
                continue;
            porId.insert(n, guardada);
            tomadas.insert(guardada.guardada);
        }
    }
}

Resultado<> LinhasRepetidas::Achados::lerImportacoes()
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlImportacoes);
    if (!consulta.ok())
        return consulta.motivo();
    for (QSqlQuery &q = consulta.valor(); q.next();)
        importacoes.insert(q.value(0).toInt(), q.value(1).toDateTime());
    return Feito();
}

Resultado<> LinhasRepetidas::Achados::pesar(const QSet<QString> &textos)
{
    QHash<QString, QString> aparados; // each text without its trailing blanks
    QSet<QString> noServidor;
    for (const QString &texto : textos) {
        const QString aparado = semBrancosAoFim(texto);
        aparados.insert(texto, aparado);
        if (!soLetras(aparado))
            noServidor.insert(aparado);
    }
    for (ushort letra = 0; letra < depoisDasLetras; ++letra) {
        if (letraConhecida(letra))
            noServidor.insert(QString(QChar(letra)));
    }
    const Resultado<QHash<QString, QByteArray>> pesados = pesosNoServidor(noServidor);
    if (!pesados.ok())
        return pesados.motivo();
    QVector<QByteArray> pesoDaLetra;
    for (ushort letra = 0; letra < depoisDasLetras; ++letra)
        pesoDaLetra << pesados.valor().value(QString(QChar(letra)));
    QHash<QByteArray, int> numeros;
    for (auto texto = aparados.cbegin(); texto != aparados.cend(); ++texto) {
        QByteArray peso;
        if (soLetras(*texto)) {
            for (const QChar letra : *texto)
                peso += pesoDaLetra.at(letra.unicode());
        } else {
            // One the server gave back changed (too long) is equal to itself only:
            // weights never start with a zero.
            peso = pesados.valor().value(*texto, QByteArray(1, '\0') + texto->toUtf8());
        }
        const int numero = numeros.value(peso, numeros.size());
        numeros.insert(peso, numero);
        pesos.insert(texto.key(), numero);
    }
    return Feito();
}

Resultado<QHash<QString, QByteArray>> LinhasRepetidas::Achados::pesosNoServidor(const QSet<QString> &textos)
{
    QHash<QString, QByteArray> pesados;
    QJsonArray lote;
    for (auto texto = textos.cbegin();; ++texto) {
        if (texto != textos.cend())
            lote.append(*texto);
        if (lote.size() < porInstrucao && texto != textos.cend())
            continue;
        Resultado<QSqlQuery> consulta = Sql::executa(sqlPesos, {Sql::json(lote)});
        if (!consulta.ok())
            return consulta.motivo();
        for (QSqlQuery &q = consulta.valor(); q.next();)
            pesados.insert(q.value(0).toString(), q.value(1).toByteArray());
        if (texto == textos.cend())
            return pesados;
        lote = QJsonArray();
    }
}

// File by file in the order they were read, each row takes one of the equal
// expenses or earlier rows while any is left: those without a bank id when
// the row has one, which may be the same transaction read from a file that
// had none. A row repeated by its bank id takes none.
QHash<int, Repeticao> LinhasRepetidas::Achados::repeticoes() const
{
    QHash<Chave, Grupo> grupos;
    for (const Lancamento &gasto : periodo) {
        Grupo &grupo = grupos[chave(gasto.dia, gasto.centavos, gasto.fornecedor, gasto.descricao)];
        ++grupo.todos;
        grupo.semId += !gasto.comId;
        (gasto.comId ? grupo.doBanco : grupo.semIdDoBanco) << gasto.guardada;
        grupo.idImportacao = qMax(grupo.idImportacao, gasto.idImportacao);
    }
    std::map<int, QVector<int>> porCarga;
    for (int n = 0; n < previa.size(); ++n)
        porCarga[previa.at(n).carga] << n;
    QHash<int, Repeticao> repetidas;
    QHash<QStringList, int> idsLidos; // id, account, date and amount of the earlier files' rows, not yet taken
    QHash<Chave, int> tomadas;
    QHash<int, QString> avisos; // per import: a statement has thousands of rows of one
    const auto avisoDe = [&](int idImportacao) {
        auto a = avisos.find(idImportacao);
        return a != avisos.end() ? *a : *avisos.insert(idImportacao, aviso(importacoes.value(idImportacao)));
    };
    const auto valida = [](const GradeDaPrevia::Linha &linha) { return linha.data && linha.centavos; };
    const auto chaveDa = [&](const GradeDaPrevia::Linha &linha) {
        return valida(linha) ? chave(linha.data->toJulianDay(), *linha.centavos, linha.fornecedor, linha.descricao)
                             : Chave();
    };
    const auto idDa = [&](const GradeDaPrevia::Linha &linha, const Chave &k) {
        return QStringList {linha.idBanco, linha.conta, QString::number(k.dia), QString::number(k.centavos)};
    };
    for (auto carga = porCarga.cbegin(); carga != porCarga.cend(); ++carga) {
        for (const int n : carga->second) {
            const GradeDaPrevia::Linha &linha = previa.at(n);
            const bool comId = !linha.idBanco.isEmpty();
            const Chave k = chaveDa(linha);
            const auto grupo = grupos.constFind(k);
            if (porId.contains(n)) {
                const Lancamento &guardada = porId.value(n);
                repetidas.insert(n, {avisoDe(guardada.idImportacao), guardada.guardada});
            } else if (comId && valida(linha) && idsLidos.value(idDa(linha, k)) > 0) {
                --idsLidos[idDa(linha, k)];
                repetidas.insert(n, {naGrade, {}});
            } else if (valida(linha) && grupo != grupos.cend()) {
                const int vez = ++tomadas[k];
                // Without a bank id the row may take the stored rows that have one too.
                const int semId = grupo->semIdDoBanco.size();
                const int guardadas = semId + (comId ? 0 : grupo->doBanco.size());
                if (vez <= guardadas)
                    repetidas.insert(n, {avisoDe(grupo->idImportacao), vez <= semId ? grupo->semIdDoBanco.at(vez - 1)
                                                                                    : grupo->doBanco.at(vez - 1 - semId)});
                else if (vez <= (comId ? grupo->semId : grupo->todos))
                    repetidas.insert(n, {naGrade, {}});
            }
        }
        // This file's rows are there for the next files to repeat.
        if (std::next(carga) == porCarga.cend())
            break;
        for (const int n : carga->second) {
            const GradeDaPrevia::Linha &linha = previa.at(n);
            if (!valida(linha))
                continue;
            const Chave k = chaveDa(linha);
            Grupo &grupo = grupos[k];
            ++grupo.todos;
            grupo.semId += linha.idBanco.isEmpty();
            if (!linha.idBanco.isEmpty())
                ++idsLidos[idDa(linha, k)];
        }
    }
    return repetidas;
}

LinhasRepetidas::LinhasRepetidas(QTableWidget *tabela)
    : QObject(tabela)
    , m_tabela(tabela)
{
    // A load or a paste changes many cells at once: one statement for all.
    m_adiamento.setSingleShot(true);
    m_adiamento.setInterval(0);
    connect(&m_adiamento, &QTimer::timeout, this, &LinhasRepetidas::marcar);
    connect(tabela, &QTableWidget::itemChanged, &m_adiamento, qOverload<>(&QTimer::start));
    connect(tabela->model(), &QAbstractItemModel::rowsRemoved, &m_adiamento, qOverload<>(&QTimer::start));
}

LinhasRepetidas::~LinhasRepetidas() = default;

// A file just read names its account too: marked once, by whoever marks first.
void LinhasRepetidas::defineConta(int idConta)
{
    if (idConta == m_idConta)
        return;
    m_idConta = idConta;
    m_adiamento.start();
}

Resultado<> LinhasRepetidas::marcar()
{
    m_adiamento.stop();
    Achados achados;
    achados.idConta = m_idConta;
    const Resultado<> consultado = m_tabela->rowCount() == 0 ? Feito() : consultar(&achados);
    const QHash<int, Repeticao> repeticoes = consultado.ok() ? achados.repeticoes() : QHash<int, Repeticao>();
    QHash<int, QString> avisos;
    m_repetidas.clear();
    m_guardadas = {};
    for (auto r = repeticoes.cbegin(); r != repeticoes.cend(); ++r) {
        avisos.insert(r.key(), r->aviso);
        m_repetidas.insert(r.key());
        if (r->guardada.tabela >= 0)
            m_guardadas[r->guardada.tabela] << r->guardada.id;
    }
    GradeDaPrevia::mostraAvisos(m_tabela, avisos);
    return consultado;
}

LinhasRepetidas::Escolha LinhasRepetidas::perguntar(QWidget *pai) const
{
    // Nothing to ask: rows another desktop imports meanwhile stay out.
    if (m_repetidas.isEmpty())
        return Escolha::SoNovas;
    switch (mostraPergunta(pai, QStringLiteral("Linhas repetidas"),
                           QStringLiteral("%1 linhas já estão no banco de dados ou na grade.").arg(m_repetidas.size()),
                           QStringLiteral("As linhas repetidas estão em cinza na grade."),
                           {{QMessageBox::Yes, QStringLiteral("Importar só as novas")},
                            {QMessageBox::YesToAll, QStringLiteral("Importar todas")},
                            {QMessageBox::Cancel, QStringLiteral("Voltar")}})) {
    case QMessageBox::Yes:
        return Escolha::SoNovas;
    case QMessageBox::YesToAll:
        return Escolha::Todas;
    default:
        return Escolha::Voltar;
    }
}

// Texts are weighed only where they can meet another: on days with
// expenses, or, once the grid holds more than one file, everywhere.
Resultado<> LinhasRepetidas::consultar(Achados *achados) const
{
    QSet<int> cargas;
    achados->previa.reserve(m_tabela->rowCount());
    for (int n = 0; n < m_tabela->rowCount(); ++n) {
        achados->previa << GradeDaPrevia::linha(m_tabela, n);
        cargas.insert(achados->previa.last().carga);
    }
    for (const auto ler : {&Achados::lerPeriodo, &Achados::lerIds, &Achados::lerImportacoes}) {
        const Resultado<> lido = (achados->*ler)();
        if (!lido.ok())
            return lido;
    }
    QSet<qint64> dias;
    QSet<QString> textos;
    for (const Lancamento &gasto : qAsConst(achados->periodo)) {
        dias.insert(gasto.dia);
        textos << gasto.fornecedor << gasto.descricao;
    }
    for (const GradeDaPrevia::Linha &linha : qAsConst(achados->previa)) {
        if (linha.data && (cargas.size() > 1 || dias.contains(linha.data->toJulianDay())))
            textos << linha.fornecedor << linha.descricao;
    }
    return textos.isEmpty() ? Feito() : achados->pesar(textos);
}
