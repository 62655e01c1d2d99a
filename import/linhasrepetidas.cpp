#include "import/linhasrepetidas.h"

#include "import/historicodeimportacoes.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

namespace {

// One statement for the whole grid, sent as a JSON array of
// [row, date, amount, supplier, bank id]. It gives each row that matches
// expenses of the preview's date range the group they form (same date,
// amount and supplier, as the server compares them) and how many there
// are; a row with a bank id counts only expenses without one, which may be
// the same transaction read from a file that had no ids. Rows whose bank id
// is in gastos come with no group: they are repeated whatever else they say.
const QString sqlRepetidas = QStringLiteral(R"(
WITH previa AS (
    SELECT * FROM JSON_TABLE(?, '$[*]' COLUMNS (
        linha INT PATH '$[0]', data DATE PATH '$[1]', valor DECIMAL(13,2) PATH '$[2]',
        fornecedor VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci PATH '$[3]',
        idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin PATH '$[4]')) AS p
), banco AS (
    SELECT data, valor, fornecedor, MIN(idGasto) AS grupo, COUNT(*) AS todos,
           COUNT(*) - COUNT(idTransacao) AS semId, MAX(idImportacao) AS idImportacao
    FROM gastos WHERE data BETWEEN ? AND ?
    GROUP BY data, valor, fornecedor
)
SELECT p.linha, b.grupo, IF(p.idTransacao IS NULL, b.todos, b.semId), i.quando
FROM previa p JOIN banco b ON b.data = p.data AND b.valor = p.valor AND b.fornecedor = p.fornecedor
LEFT JOIN importacao i ON i.idImportacao = b.idImportacao
UNION ALL
SELECT p.linha, NULL, NULL, MAX(i.quando)
FROM previa p JOIN gastos g ON g.idTransacao = p.idTransacao
LEFT JOIN importacao i ON i.idImportacao = g.idImportacao
GROUP BY p.linha
)");

QJsonValue textoOuNulo(const QString &texto)
{
    return texto.isEmpty() ? QJsonValue() : QJsonValue(texto);
}

QString aviso(const QVariant &quando)
{
    if (quando.isNull())
        return QStringLiteral("Já está no banco de dados, lançado sem importação.");
    return QStringLiteral("Já está no banco de dados: importado em %1.")
        .arg(HistoricoDeImportacoes::quando(quando.toDateTime()));
}

} // namespace

// What the statement says of one row.
struct LinhasRepetidas::Semelhantes
{
    QVariant grupo;  // null: the bank id matched
    int vezes = 0;
    QVariant quando; // null: no expense of the group came from an import
};

LinhasRepetidas::LinhasRepetidas(QTableWidget *tabela, Registro registro)
    : QObject(tabela)
    , m_tabela(tabela)
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
    QHash<int, Semelhantes> achadas;
    const bool ok = m_tabela->rowCount() == 0 || consultar(&achadas);
    mostrar(porOcorrencia(achadas));
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

bool LinhasRepetidas::consultar(QHash<int, Semelhantes> *achadas) const
{
    QJsonArray linhas;
    QString primeira, ultima;
    for (int linha = 0; linha < m_tabela->rowCount(); ++linha) {
        const QStringList campos = m_registro(m_tabela, linha);
        const QString data = campos.value(0);
        const QTableWidgetItem *item = m_tabela->item(linha, 0);
        const QString idTransacao = item ? item->data(Qt::UserRole).toString() : QString();
        linhas.append(QJsonArray {linha, textoOuNulo(data), textoOuNulo(campos.value(2)), campos.value(1),
                                  textoOuNulo(idTransacao)});
        if (!data.isEmpty()) { // ISO dates: the text's order is the calendar's
            primeira = primeira.isEmpty() ? data : qMin(primeira, data);
            ultima = qMax(ultima, data);
        }
    }
    QSqlQuery consulta;
    consulta.prepare(sqlRepetidas);
    consulta.addBindValue(QString::fromUtf8(QJsonDocument(linhas).toJson(QJsonDocument::Compact)));
    consulta.addBindValue(textoOuNulo(primeira).toVariant());
    consulta.addBindValue(textoOuNulo(ultima).toVariant());
    if (!consulta.exec()) {
        qDebug() << "Erro ao procurar linhas repetidas:" << consulta.lastError().text();
        return false;
    }
    while (consulta.next()) {
        const int linha = consulta.value(0).toInt();
        const Semelhantes semelhantes {consulta.value(1), consulta.value(2).toInt(), consulta.value(3)};
        if (semelhantes.grupo.isNull() || !achadas->contains(linha))
            achadas->insert(linha, semelhantes);
    }
    return true;
}

// In grid order, each row takes one of its group's expenses while any is
// left; rows matched by bank id take none.
QHash<int, QString> LinhasRepetidas::porOcorrencia(const QHash<int, Semelhantes> &achadas) const
{
    QHash<int, QString> avisos;
    QHash<qlonglong, int> tomadas;
    for (int linha = 0; linha < m_tabela->rowCount(); ++linha) {
        const auto semelhantes = achadas.constFind(linha);
        if (semelhantes == achadas.cend())
            continue;
        if (semelhantes->grupo.isNull() || ++tomadas[semelhantes->grupo.toLongLong()] <= semelhantes->vezes)
            avisos.insert(linha, aviso(semelhantes->quando));
    }
    return avisos;
}

// Only cells whose look changes are touched, with the grid's signals held
// so that marking is not taken for an edit.
void LinhasRepetidas::mostrar(const QHash<int, QString> &avisos)
{
    const QSignalBlocker bloqueio(m_tabela);
    const QVariant cinza = m_tabela->palette().brush(QPalette::Disabled, QPalette::Text);
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
    const QList<int> chaves = avisos.keys();
    m_repetidas = QSet<int>(chaves.begin(), chaves.end());
}
