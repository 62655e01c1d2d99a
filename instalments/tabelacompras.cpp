#include "instalments/tabelacompras.h"

#include "database/sql.h"

#include <QHash>

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
// the rows of one INSERT ... SELECT one after the other.
const QString sqlNovas = QStringLiteral(
    "INSERT INTO compra (idConta, fornecedor, parcelas, dataCompra) SELECT n.conta, n.fornecedor, n.parcelas, "
    "n.data FROM JSON_TABLE(?, '$[*]' COLUMNS (ordem FOR ORDINALITY, conta INT PATH '$[0]', "
    "fornecedor VARCHAR(255) PATH '$[1]', parcelas INT PATH '$[2]', data DATE PATH '$[3]')) AS n ORDER BY n.ordem");

// [idGasto, idCompra, idCategoria or null]
const QString sqlVincula = QStringLiteral(
    "UPDATE gastos g JOIN JSON_TABLE(?, '$[*]' COLUMNS (id INT PATH '$[0]', compra INT PATH '$[1]', "
    "categoria INT PATH '$[2]')) AS v ON v.id = g.idGasto "
    "SET g.idCompra = v.compra, g.idCategoria = IFNULL(v.categoria, g.idCategoria)");

// The key of the first of the purchases made, the others following it.
Resultado<int> criaCompras(const QJsonArray &novas)
{
    if (novas.isEmpty())
        return 0;
    Resultado<QSqlQuery> criadas = Sql::executa(sqlNovas, {Sql::json(novas)});
    if (!criadas.ok())
        return criadas.motivo();
    return criadas.valor().lastInsertId().toInt();
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

Resultado<int> vincula(const QVector<ParcelaNova> &novas, int idConta)
{
    if (novas.isEmpty())
        return 0;
    Resultado<QVector<Compra>> lidas = compras(idConta);
    if (!lidas.ok())
        return lidas.motivo();
    QVector<Compra> todas = lidas.valor();
    // By supplier and count, where a new instalment looks for its purchase.
    QHash<QPair<QString, int>, QVector<int>> porLoja;
    for (int i = 0; i < todas.size(); ++i)
        porLoja[{todas.at(i).fornecedor.toCaseFolded(), todas.at(i).parcelas}] << i;
    QVector<int> daCompra; // for each new instalment, its purchase's place in todas
    QJsonArray novasCompras;
    for (const ParcelaNova &nova : novas) {
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
        daCompra << indice;
        todas[indice].vistas.append({nova.parcela, nova.data, nova.centavos});
    }
    const Resultado<int> primeira = criaCompras(novasCompras);
    if (!primeira.ok())
        return primeira.motivo();
    QJsonArray vinculos;
    int classificadas = 0;
    for (int n = 0, novaCompra = 0; n < novas.size(); ++n) {
        Compra &compra = todas[daCompra.at(n)];
        if (compra.id == 0)
            compra.id = primeira.valor() + novaCompra++;
        vinculos.append(QJsonArray {novas.at(n).idGasto, compra.id,
                                    compra.idCategoria ? QJsonValue(compra.idCategoria) : QJsonValue()});
        classificadas += compra.idCategoria != 0;
    }
    const Resultado<> vinculadas = Sql::executa(sqlVincula, {Sql::json(vinculos)});
    return vinculadas.ok() ? Resultado<int>(classificadas) : Resultado<int>(vinculadas.motivo());
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
