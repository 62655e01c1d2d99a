#include "instalments/tabelacompras.h"

#include "database/sql.h"

#include <QHash>

#include <numeric>

namespace {

// Every instalment of purchases, with its category while it exists: of an
// account (NULL: of none), of all (-1), or of one purchase.
const QString sqlParcelas = QStringLiteral(
    "SELECT c.idCompra, c.fornecedor, c.parcelas, c.dataCompra, g.parcela, g.data, g.valor, k.idCategoria, "
    "k.categoria FROM compra c JOIN gastos g ON g.idCompra = c.idCompra "
    "LEFT JOIN categoria k ON k.idCategoria = g.idCategoria "
    "WHERE (c.idConta <=> ? OR ? = -1) AND (c.idCompra = ? OR ? IS NULL) ORDER BY c.idCompra, g.parcela, g.idGasto");

const QString sqlDaParcela = QStringLiteral("SELECT idCompra FROM gastos WHERE idGasto = ? AND idCompra IS NOT NULL");

// The new purchases in one statement, in the order given: the server numbers
// the rows of one INSERT ... SELECT in that order, though not always one
// after the other (auto_increment_increment).
const QString sqlNovas = QStringLiteral(
    "INSERT INTO compra (idConta, fornecedor, parcelas, dataCompra) SELECT n.conta, n.fornecedor, n.parcelas, "
    "n.data FROM JSON_TABLE(?, '$[*]' COLUMNS (ordem FOR ORDINALITY, conta INT PATH '$[0]', "
    "fornecedor VARCHAR(255) PATH '$[1]', parcelas INT PATH '$[2]', data DATE PATH '$[3]')) AS n ORDER BY n.ordem");

// Their keys, from the first one's on: in the import's transaction no other
// purchase made since it began is seen.
const QString sqlChavesNovas =
    QStringLiteral("SELECT idCompra FROM compra WHERE idCompra >= ? ORDER BY idCompra LIMIT ?");

const QString sqlApagaSemParcelas = QStringLiteral(
    "DELETE c FROM compra c WHERE NOT EXISTS (SELECT 1 FROM gastos g WHERE g.idCompra = c.idCompra)");

Resultado<QVector<int>> criaCompras(const QJsonArray &novas)
{
    QVector<int> ids;
    if (novas.isEmpty())
        return ids;
    const Resultado<QSqlQuery> criadas = Sql::executa(sqlNovas, {Sql::json(novas)});
    if (!criadas.ok())
        return criadas.motivo();
    Resultado<QSqlQuery> chaves = Sql::executa(sqlChavesNovas, {criadas.valor().lastInsertId(), novas.size()});
    if (!chaves.ok())
        return chaves.motivo();
    for (QSqlQuery &q = chaves.valor(); q.next();)
        ids << q.value(0).toInt();
    return ids;
}


int meses(const QDate &de, const QDate &ate)
{
    return (ate.year() - de.year()) * 12 + ate.month() - de.month();
}

bool ehDaCompra(const Compra &compra, const ParcelaNova &nova)
{
    if (compra.parcelas != nova.parcelas || compra.fornecedor.compare(nova.fornecedor, Qt::CaseInsensitive) != 0)
        return false;
    // A refund is of an instalment the purchase has; an instalment, one it has not yet.
    const bool tem = std::any_of(compra.vistas.cbegin(), compra.vistas.cend(), [&](const ParcelaVista &vista) {
        return vista.numero == nova.parcela && vista.centavos > 0;
    });
    if (tem != (nova.centavos < 0))
        return false;
    if (nova.centavos < 0)
        return !nova.dataDaCompra.isValid() || compra.dataCompra == nova.dataDaCompra;
    if (nova.dataDaCompra.isValid() || compra.dataCompra.isValid())
        return compra.dataCompra == nova.dataDaCompra;
    // Parts are rounded to the cent, the first or the last taking the rest.
    for (const ParcelaVista &vista : compra.vistas) {
        if (qAbs(vista.centavos - nova.centavos) <= compra.parcelas
            && meses(vista.data, nova.data) == nova.parcela - vista.numero)
            return true;
    }
    return false;
}

const int todasAsContas = -1;

Resultado<QVector<Compra>> compras(int idConta, const QVariant &idCompra = QVariant(QVariant::Int))
{
    const QVariant conta = idConta > 0 || idConta == todasAsContas ? QVariant(idConta) : QVariant(QVariant::Int);
    Resultado<QSqlQuery> consulta = Sql::executa(sqlParcelas, {conta, conta, idCompra, idCompra});
    if (!consulta.ok())
        return consulta.motivo();
    QVector<Compra> lidas;
    for (QSqlQuery &q = consulta.valor(); q.next();) {
        if (lidas.isEmpty() || lidas.last().id != q.value(0).toInt())
            lidas.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toDate(), {}, 0, {}});
        lidas.last().vistas.append({q.value(4).toInt(), q.value(5).toDate(), qRound64(q.value(6).toDouble() * 100)});
        if (!q.isNull(7)) {
            lidas.last().idCategoria = q.value(7).toInt();
            lidas.last().categoria = q.value(8).toString();
        }
    }
    return lidas;
}

} // namespace

namespace TabelaCompras {

Resultado<QVector<DaCompra>> vincula(const QVector<ParcelaNova> &novas, int idConta)
{
    if (novas.isEmpty())
        return QVector<DaCompra>();
    Resultado<QVector<Compra>> lidas = compras(idConta);
    if (!lidas.ok())
        return lidas.motivo();
    QVector<Compra> todas = lidas.valor();
    // By supplier and count, where a new instalment looks for its purchase.
    QHash<QPair<QString, int>, QVector<int>> porLoja;
    for (int i = 0; i < todas.size(); ++i)
        porLoja[{todas.at(i).fornecedor.toCaseFolded(), todas.at(i).parcelas}] << i;
    const int existentes = todas.size();
    // Charges before refunds: a refund belongs to an instalment charged, wherever the file lists it.
    QVector<int> ordem(novas.size());
    std::iota(ordem.begin(), ordem.end(), 0);
    std::stable_partition(ordem.begin(), ordem.end(), [&](int n) { return novas.at(n).centavos >= 0; });
    QVector<int> daCompra(novas.size()); // for each new instalment, its purchase's place in todas
    QJsonArray novasCompras;
    for (const int n : qAsConst(ordem)) {
        const ParcelaNova &nova = novas.at(n);
        QVector<int> &candidatas = porLoja[{nova.fornecedor.toCaseFolded(), nova.parcelas}];
        const auto achada = std::find_if(candidatas.cbegin(), candidatas.cend(),
                                         [&](int i) { return ehDaCompra(todas.at(i), nova); });
        const int indice = achada == candidatas.cend() ? todas.size() : *achada;
        if (indice == todas.size()) {
            candidatas << indice;
            todas.append({0, nova.fornecedor, nova.parcelas, nova.dataDaCompra, {}, 0, {}});
            novasCompras.append(QJsonArray {Sql::chaveOuNulo(idConta).isNull() ? QJsonValue() : QJsonValue(idConta),
                                            nova.fornecedor, nova.parcelas,
                                            nova.dataDaCompra.isValid() ? QJsonValue(nova.dataDaCompra.toString(Qt::ISODate))
                                                                        : QJsonValue()});
        }
        daCompra[n] = indice;
        todas[indice].vistas.append({nova.parcela, nova.data, nova.centavos});
    }
    const Resultado<QVector<int>> criadas = criaCompras(novasCompras);
    if (!criadas.ok())
        return criadas.motivo();
    for (int k = 0; k < criadas.valor().size(); ++k)
        todas[existentes + k].id = criadas.valor().at(k);
    QVector<DaCompra> daCompraDe;
    for (int n = 0; n < novas.size(); ++n) {
        const Compra &compra = todas.at(daCompra.at(n));
        daCompraDe.append({compra.id, compra.idCategoria});
    }
    return daCompraDe;
}

Resultado<> apagaSemParcelas(const QSqlDatabase &db)
{
    return Sql::executa(sqlApagaSemParcelas, {}, db);
}

Resultado<QVector<Compra>> lista()
{
    return compras(todasAsContas);
}

Resultado<std::optional<Compra>> daParcela(int idGasto)
{
    Resultado<QSqlQuery> consulta = Sql::executa(sqlDaParcela, {idGasto});
    if (!consulta.ok())
        return consulta.motivo();
    if (!consulta.valor().next())
        return std::optional<Compra>();
    const Resultado<QVector<Compra>> compra = compras(todasAsContas, consulta.valor().value(0));
    if (!compra.ok())
        return compra.motivo();
    return compra.valor().isEmpty() ? std::nullopt : std::optional<Compra>(compra.valor().first());
}

} // namespace TabelaCompras
