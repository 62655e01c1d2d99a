#ifndef HISTORICODEIMPORTACOES_H
#define HISTORICODEIMPORTACOES_H

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

struct ResultadoImportacao;

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

// When a file with this SHA-256 (hex) was last imported; invalid if never.
QDateTime importadoEm(const QString &sha256);

// Opens the record of an import about to be written and gives its key, or
// -1. The caller's transaction holds it together with the expenses.
int abrir(const QString &arquivo, const QString &sha256, const QString &layout);

// Sets the record's row count and total from the expenses that point to it
// and hands them back.
bool concluir(int idImportacao, ResultadoImportacao *resultado);

struct Conteudo
{
    int gastos = 0;
    int classificados = 0; // given a category since
};
bool conteudo(int idImportacao, Conteudo *conteudo);

// Deletes the import's expenses and its record in one transaction on db;
// on any failure nothing is deleted.
bool desfazer(QSqlDatabase db, int idImportacao);

} // namespace HistoricoDeImportacoes

#endif // HISTORICODEIMPORTACOES_H
