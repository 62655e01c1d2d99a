#ifndef HISTORICODEIMPORTACOES_H
#define HISTORICODEIMPORTACOES_H

#include "database/resultado.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVector>

#include <array>

// The statements on the table of imports, in one place: recording an import
// inside the import's own transaction, looking a file up by its SHA-256,
// and undoing an import. All run on the default connection.
namespace HistoricoDeImportacoes {

// What to tell the user when the database predates the table of imports
// (the program then refuses to import rather than fail halfway); empty
// when it is up to date or when the check could not tell.
QString faltaAtualizar();

// "03/11/2026 às 14:20", how imports are dated for the user.
QString quando(const QDateTime &momento);

// The imports, newest first: key, when, file, rows, total.
Resultado<QSqlQuery> lista();

// When a file with this SHA-256 (hex) was last imported; invalid if never.
Resultado<QDateTime> importadoEm(const QString &sha256);

// Opens the record of an import about to be written and gives its key. The
// caller's transaction holds it together with the expenses.
Resultado<int> abrir(const QString &arquivo, const QString &sha256, const QString &layout, int idConta);

// The tables of the rows an import writes.
enum class Tabela { Gastos, Entrada, Transferencia };

// Keys of rows, by Tabela.
using Repetidas = std::array<QVector<int>, 3>;

// Notes the rows that rows of this import repeated and left out, so that
// undoing the import that wrote them can ask before they go.
Resultado<> anotaRepetidas(int idImportacao, const Repetidas &repetidas);

struct Gravado
{
    int gastos = 0;
    qint64 centavos = 0;
    int linhas = 0; // income and transfers included
};

// Sets the record's row count (expenses, income and transfers) and total
// (of the expenses) from the rows that point to it, and hands the expenses'
// back; a record that wrote nothing is deleted.
Resultado<Gravado> concluir(int idImportacao);

struct Conteudo
{
    int gastos = 0; // income and transfers included
    int classificados = 0; // given a category since
    // Of the rows, those that a later import left out as repeated: its
    // statement holds them too, and only this import stored them.
    int daPosterior = 0;
};
Resultado<Conteudo> conteudo(int idImportacao);

// Deletes the import's rows and its record in one transaction on db; with
// manter, the rows a later import left out as repeated stay and belong
// to that import from then on. On any failure nothing changes.
Resultado<> desfazer(QSqlDatabase db, int idImportacao, bool manter);

} // namespace HistoricoDeImportacoes

#endif // HISTORICODEIMPORTACOES_H
