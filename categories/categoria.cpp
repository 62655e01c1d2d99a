#include "categories/categoria.h"
#include "ui_categoria.h"

#include "messages/motivoerro.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {

const QString listaOrdenada = QStringLiteral(
    "SELECT idCategoria, categoria as Categoria FROM categoria ORDER BY categoria ASC");
// After a change the list is read again as the server returns it.
const QString lista = QStringLiteral("SELECT idCategoria, categoria as Categoria FROM categoria");

// The name the typed one would look like in a list or in the report, or an
// empty string: "Não Classificado", which the lists and the report call the
// expenses without a category, or a category whose name differs only in its
// blanks (one the same but for case and accents the unique key refuses).
// The server compares, in the column's collation, so case and accents do
// not count; nor do blanks, each run of them taken as one space.
QString nomeParecido(const QString &nome)
{
    QSqlQuery consulta;
    consulta.prepare(QStringLiteral(
        "SELECT nome FROM (SELECT 'Não Classificado' AS nome, 1 AS reservado "
        "UNION ALL SELECT categoria, 0 FROM categoria) AS nomes "
        "WHERE TRIM(REGEXP_REPLACE(nome, '[[:space:]]+', ' ')) = "
        "TRIM(REGEXP_REPLACE(CONVERT(:nome USING utf8mb4), '[[:space:]]+', ' ')) COLLATE utf8mb4_unicode_520_ci "
        "AND (reservado OR nome <> CONVERT(:nome USING utf8mb4) COLLATE utf8mb4_unicode_520_ci) "
        "ORDER BY reservado DESC LIMIT 1"));
    consulta.bindValue(QStringLiteral(":nome"), nome);
    return consulta.exec() && consulta.next() ? consulta.value(0).toString() : QString();
}

// What a refused name means here, by the server's error code: the name goes
// in before the reason is built, so that its details read as the box does.
Motivo motivoDaRecusa(const QSqlError &erro, const QString &nome)
{
    const QHash<QString, QString> motivos {
        {QStringLiteral("1062"), QStringLiteral("Já existe a categoria “%1” (maiúsculas e acentos não contam).").arg(nome)},
        {QStringLiteral("4025"), QStringLiteral("O nome da categoria está em branco.")},
    };
    return motivoDoErro(erro, motivos);
}

} // namespace

Categoria::Categoria(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Categoria)
{
    ui->setupUi(this);
}

Categoria::~Categoria()
{
    delete ui;
}

void Categoria::setupData()
{
    model = new QSqlQueryModel(this);
    ui->tableView_categoria->setModel(model);
    if (!listar(listaOrdenada)) {
        qDebug() << "Erro ao executar consulta:" << model->lastError().text();
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro na Conexão"),
                    QStringLiteral("Erro na leitura do banco de dados"), motivoDoErro(model->lastError()));
    }
}

// Judged by the query rather than by the model's error: on a registered
// but closed connection the statement fails without any error. Column 0,
// the key, is hidden again every time, because a list that failed had no
// column to hide.
bool Categoria::listar(const QString &consulta)
{
    model->setQuery(consulta);
    ui->tableView_categoria->hideColumn(0);
    return model->query().isActive();
}

// Runs a statement with one bound value; a refusal is shown to the user
// first and then logged with the server's reason.
bool Categoria::altera(const QString &comando, const QString &marcador, const QVariant &valor,
                       const QString &aviso, const char *diagnostico)
{
    QSqlQuery consulta;
    consulta.prepare(comando);
    consulta.bindValue(marcador, valor);
    if (consulta.exec())
        return true;
    mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"), aviso,
                motivoDaRecusa(consulta.lastError(), valor.toString()));
    qDebug() << diagnostico << consulta.lastError().text();
    return false;
}

void Categoria::on_pushButton_inserir_clicked()
{
    const QString nome = ui->lineEdit_categoria->text();
    if (nome.isEmpty())
        return;
    const QString parecido = nomeParecido(nome.trimmed());
    if (!parecido.isEmpty()) {
        // The typed name stays, to be changed.
        const QString motivo = parecido == QStringLiteral("Não Classificado")
            ? QStringLiteral("\"Não Classificado\" é como as listas e o relatório chamam os gastos "
                             "sem categoria. Escolha outro nome.")
            : QStringLiteral("Já existe a categoria “%1”: espaços a mais não contam.").arg(parecido);
        mostraCaixa(this, QMessageBox::Warning, QStringLiteral("Erro"), QStringLiteral("Erro ao inserir item"),
                    {motivo, {}});
        return;
    }
    if (altera(QStringLiteral("INSERT INTO categoria (categoria) VALUES (:nome)"),
               QStringLiteral(":nome"), nome.trimmed(), QStringLiteral("Erro ao inserir item"),
               "Erro ao inserir item na tabela categoria:")) {
        qDebug() << "Item inserido com sucesso!";
        listar(lista);
    }
    ui->lineEdit_categoria->clear();
}

void Categoria::on_tableView_categoria_doubleClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    if (mostraCaixa(this, QMessageBox::Question, QStringLiteral("Apagar Item"),
                    QStringLiteral("Deseja realmente apagar este item?"), {}, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // The key stands in the hidden column of the row that was clicked.
    const QVariant id = index.sibling(index.row(), 0).data();
    if (altera(QStringLiteral("DELETE FROM categoria WHERE idCategoria = :id"),
               QStringLiteral(":id"), id, QStringLiteral("Erro ao apagar item"), "Erro ao apagar item:"))
        listar(lista);
}
