#include "import/linhasrepetidas.h"

#include "database/textojson.h"
#include "import/historicodeimportacoes.h"

#include <QDebug>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

namespace {

// The expenses of the preview's date range, the rows whose bank id some
// expense carries (whatever its date), and when each import was made.
const QString sqlPeriodo = QStringLiteral(R"(
SELECT 0, g.data, g.valor, g.fornecedor, g.idImportacao, g.idTransacao IS NOT NULL, NULL
FROM gastos g WHERE g.data BETWEEN ? AND ?
UNION ALL
SELECT 1, NULL, NULL, NULL, g.idImportacao, p.linha, NULL
FROM JSON_TABLE(?, '$[*]' COLUMNS (
    linha INT PATH '$[0]',
    idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin PATH '$[1]')) AS p
JOIN gastos g ON g.idTransacao = p.idTransacao
UNION ALL
SELECT 2, NULL, NULL, NULL, idImportacao, NULL, quando FROM importacao
)");

// The weight the server's collation gives each supplier name, trailing
// blanks aside as it compares them: names are equal when their weights
// are. Asked once per distinct name, since weighing every expense of the
// range, or grouping them on the server, costs several times reading them.
const QString sqlPesos = QStringLiteral(R"(
SELECT n.fornecedor, WEIGHT_STRING(RTRIM(n.fornecedor))
FROM JSON_TABLE(?, '$[*]' COLUMNS (
    fornecedor VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$')) AS n
)");

enum Origem { DoPeriodo, PeloId, Importacao };

// Date, amount and supplier's weight (numbered), what makes rows equal.
struct Chave
{
    qint64 dia = 0;
    qint64 centavos = 0;
    int peso = -1;
};

bool operator==(const Chave &a, const Chave &b)
{
    return a.dia == b.dia && a.centavos == b.centavos && a.peso == b.peso;
}

uint qHash(const Chave &chave, uint semente = 0)
{
    return ::qHash(chave.dia, semente) ^ ::qHash(chave.centavos, semente + 1) ^ ::qHash(chave.peso, semente + 2);
}

// The expenses of the range that one key stands for.
struct Grupo
{
    int todos = 0;
    int semId = 0;
    int idImportacao = 0; // the latest import among them; 0 when none came from one
};

// The import's "yyyy-MM-dd", read by hand: Qt's parsers cost as much as
// the rest of a row's marking.
QDate dataDoBanco(const QString &texto)
{
    if (texto.size() != 10 || texto.at(4) != QLatin1Char('-') || texto.at(7) != QLatin1Char('-'))
        return QDate();
    int numeros[3] = {0, 0, 0};
    for (int i = 0, campo = 0; i < texto.size(); ++i) {
        const int digito = texto.at(i).unicode() - '0';
        if (i == 4 || i == 7)
            ++campo;
        else if (digito < 0 || digito > 9)
            return QDate();
        else
            numeros[campo] = numeros[campo] * 10 + digito;
    }
    return QDate(numeros[0], numeros[1], numeros[2]);
}

QString aviso(const QDateTime &quando)
{
    if (!quando.isValid())
        return QStringLiteral("Já está no banco de dados, lançado sem importação.");
    return QStringLiteral("Já está no banco de dados: importado em %1.").arg(HistoricoDeImportacoes::quando(quando));
}

} // namespace

// A preview row or an expense, as far as telling them apart goes.
struct LinhasRepetidas::Lancamento
{
    bool valido = false; // a date and an amount the server would take
    qint64 dia = 0;      // Julian day
    qint64 centavos = 0;
    QString fornecedor;
    bool comId = false;
    int idImportacao = 0;
};

// The grid's rows as the statements need them, and what they found.
struct LinhasRepetidas::Achados
{
    QVector<Lancamento> previa;  // in grid order
    QVector<Lancamento> periodo; // the expenses of the preview's date range
    QHash<int, int> porId;       // rows whose bank id is in gastos, and the import that brought it
    QHash<int, QDateTime> importacoes;
    QHash<QString, int> pesos; // each supplier name's weight, numbered

    Chave chave(const Lancamento &lancamento) const
    {
        return {lancamento.dia, lancamento.centavos, pesos.value(lancamento.fornecedor, -1)};
    }
};

LinhasRepetidas::LinhasRepetidas(QTableWidget *tabela, Data data, Registro registro)
    : QObject(tabela)
    , m_tabela(tabela)
    , m_data(std::move(data))
    , m_registro(std::move(registro))
{
    // A load or a paste changes many cells at once: one statement for all.
    m_adiamento.setSingleShot(true);
    m_adiamento.setInterval(0);
    connect(&m_adiamento, &QTimer::timeout, this, &LinhasRepetidas::marcar);
    connect(tabela, &QTableWidget::itemChanged, &m_adiamento, qOverload<>(&QTimer::start));
    connect(tabela->model(), &QAbstractItemModel::rowsRemoved, &m_adiamento, qOverload<>(&QTimer::start));
}

bool LinhasRepetidas::marcar()
{
    m_adiamento.stop();
    Achados achados;
    const bool ok = m_tabela->rowCount() == 0 || consultar(&achados);
    mostrar(porOcorrencia(achados));
    return ok;
}

LinhasRepetidas::Escolha LinhasRepetidas::perguntar(QWidget *pai) const
{
    if (m_repetidas.isEmpty())
        return Escolha::Todas;
    QMessageBox caixa(QMessageBox::Question, QStringLiteral("Linhas repetidas"),
                      QStringLiteral("%1 linhas já estão no banco de dados.").arg(m_repetidas.size()),
                      QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::Cancel, pai);
    caixa.setInformativeText(QStringLiteral("As linhas repetidas estão em cinza na grade."));
    caixa.button(QMessageBox::Yes)->setText(QStringLiteral("Importar só as novas"));
    caixa.button(QMessageBox::YesToAll)->setText(QStringLiteral("Importar todas"));
    caixa.button(QMessageBox::Cancel)->setText(QStringLiteral("Voltar"));
    caixa.setDefaultButton(QMessageBox::Yes);
    switch (caixa.exec()) {
    case QMessageBox::Yes:
        return Escolha::SoNovas;
    case QMessageBox::YesToAll:
        return Escolha::Todas;
    default:
        return Escolha::Voltar;
    }
}

bool LinhasRepetidas::consultar(Achados *achados) const
{
    QStringList ids; // [row, "bank id"]
    QDate primeira, ultima;
    for (int linha = 0; linha < m_tabela->rowCount(); ++linha) {
        const QTableWidgetItem *item = m_tabela->item(linha, 0);
        const QString id = item ? item->data(Qt::UserRole).toString() : QString();
        const QDate data = dataDoBanco(m_data(m_tabela, linha));
        achados->previa.append({data.isValid(), data.toJulianDay(), 0, QString(), !id.isEmpty(), 0});
        if (!id.isEmpty())
            ids << QLatin1Char('[') + QString::number(linha) + QLatin1Char(',') + textoJson(id) + QLatin1Char(']');
        if (data.isValid()) {
            primeira = primeira.isValid() ? qMin(primeira, data) : data;
            ultima = qMax(ultima, data);
        }
    }
    if (!lerPeriodo({primeira, ultima, listaJson(ids)}, achados))
        return false;
    // Without expenses in the range there are no amounts or names to compare.
    if (achados->periodo.isEmpty())
        return true;
    completar(achados);
    return pesar(achados);
}

// Amount and supplier of the rows whose day has expenses; the others, which
// no expense can repeat by occurrence, keep none.
void LinhasRepetidas::completar(Achados *achados) const
{
    QSet<qint64> dias;
    for (const Lancamento &gasto : qAsConst(achados->periodo))
        dias.insert(gasto.dia);
    for (int linha = 0; linha < achados->previa.size(); ++linha) {
        Lancamento &lancamento = achados->previa[linha];
        if (!lancamento.valido || !dias.contains(lancamento.dia))
            continue;
        const QStringList campos = m_registro(m_tabela, linha);
        bool temValor = false;
        lancamento.centavos = qRound64(campos.value(2).toDouble(&temValor) * 100);
        lancamento.valido = temValor;
        lancamento.fornecedor = campos.value(1);
    }
}

bool LinhasRepetidas::lerPeriodo(const QVariantList &valores, Achados *achados)
{
    QSqlQuery consulta;
    consulta.setForwardOnly(true);
    consulta.prepare(sqlPeriodo);
    for (const QVariant &valor : valores)
        consulta.addBindValue(valor);
    if (!consulta.exec()) {
        qDebug() << "Erro ao procurar linhas repetidas:" << consulta.lastError().text();
        return false;
    }
    while (consulta.next()) {
        const int idImportacao = consulta.value(4).toInt();
        switch (consulta.value(0).toInt()) {
        case DoPeriodo:
            if (!consulta.isNull(3)) // no supplier: the server finds no name equal to it
                achados->periodo.append({true, consulta.value(1).toDate().toJulianDay(),
                                         qRound64(consulta.value(2).toDouble() * 100), consulta.value(3).toString(),
                                         consulta.value(5).toBool(), idImportacao});
            break;
        case PeloId:
            achados->porId.insert(consulta.value(5).toInt(), idImportacao);
            break;
        case Importacao:
            achados->importacoes.insert(idImportacao, consulta.value(6).toDateTime());
            break;
        }
    }
    return true;
}

bool LinhasRepetidas::pesar(Achados *achados)
{
    QSet<QString> nomes;
    for (const auto *lancamentos : {&achados->previa, &achados->periodo})
        for (const Lancamento &lancamento : *lancamentos)
            nomes.insert(lancamento.fornecedor);
    QStringList emJson;
    for (const QString &nome : qAsConst(nomes))
        emJson << textoJson(nome);
    QSqlQuery consulta;
    consulta.setForwardOnly(true);
    consulta.prepare(sqlPesos);
    consulta.addBindValue(listaJson(emJson));
    if (!consulta.exec()) {
        qDebug() << "Erro ao comparar fornecedores:" << consulta.lastError().text();
        return false;
    }
    QHash<QByteArray, int> numeros;
    while (consulta.next()) {
        const QByteArray peso = consulta.value(1).toByteArray();
        const int numero = numeros.value(peso, numeros.size());
        numeros.insert(peso, numero);
        achados->pesos.insert(consulta.value(0).toString(), numero);
    }
    return true;
}

// In grid order, each row takes one of the equal expenses while any is
// left: those without a bank id when the row has one, which may be the same
// transaction read from a file that had none. A row whose bank id is in
// gastos is repeated and takes none.
QHash<int, QString> LinhasRepetidas::porOcorrencia(const Achados &achados) const
{
    QHash<Chave, Grupo> grupos;
    for (const Lancamento &gasto : achados.periodo) {
        Grupo &grupo = grupos[achados.chave(gasto)];
        ++grupo.todos;
        grupo.semId += !gasto.comId;
        grupo.idImportacao = qMax(grupo.idImportacao, gasto.idImportacao);
    }
    QHash<int, QString> avisos, avisoDaImportacao;
    const auto avisar = [&](int linha, int idImportacao) {
        if (!avisoDaImportacao.contains(idImportacao))
            avisoDaImportacao.insert(idImportacao, aviso(achados.importacoes.value(idImportacao)));
        avisos.insert(linha, avisoDaImportacao.value(idImportacao));
    };
    QHash<Chave, int> tomadas;
    for (int linha = 0; linha < achados.previa.size(); ++linha) {
        const Lancamento &lancamento = achados.previa.at(linha);
        const Chave chave = achados.chave(lancamento);
        const auto grupo = grupos.constFind(chave);
        if (achados.porId.contains(linha))
            avisar(linha, achados.porId.value(linha));
        else if (lancamento.valido && grupo != grupos.cend()
                 && ++tomadas[chave] <= (lancamento.comId ? grupo->semId : grupo->todos))
            avisar(linha, grupo->idImportacao);
    }
    return avisos;
}

// Only cells whose look changes are touched, with the grid's signals held
// so that marking is not taken for an edit, and the views told once.
void LinhasRepetidas::mostrar(const QHash<int, QString> &avisos)
{
    // No cell was grey and none is to be: a statement of new days, the usual case.
    if (avisos.isEmpty() && m_repetidas.isEmpty())
        return;
    const QSignalBlocker bloqueio(m_tabela);
    QAbstractItemModel *modelo = m_tabela->model();
    const QVariant cinza = m_tabela->palette().brush(QPalette::Disabled, QPalette::Text);
    {
        const QSignalBlocker semAvisos(modelo);
        for (int linha = 0; linha < m_tabela->rowCount(); ++linha) {
            const QString texto = avisos.value(linha);
            for (int coluna = 0; coluna < m_tabela->columnCount(); ++coluna) {
                QTableWidgetItem *item = m_tabela->item(linha, coluna);
                if (!item || item->toolTip() == texto)
                    continue;
                item->setToolTip(texto);
                item->setData(Qt::ForegroundRole, texto.isEmpty() ? QVariant() : cinza);
            }
        }
    }
    if (m_tabela->rowCount() > 0)
        emit modelo->dataChanged(modelo->index(0, 0), modelo->index(m_tabela->rowCount() - 1, m_tabela->columnCount() - 1));
    const QList<int> chaves = avisos.keys();
    m_repetidas = QSet<int>(chaves.begin(), chaves.end());
}
