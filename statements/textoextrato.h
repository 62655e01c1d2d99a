#ifndef TEXTOEXTRATO_H
#define TEXTOEXTRATO_H

#include <QString>
#include <QStringList>

class QByteArray;

// A statement file's text, lines and fields: no widget, file or database.

// The file's text: the encoding its byte-order mark names; without one,
// UTF-8 when the bytes are valid UTF-8 and Windows-1252 otherwise (what
// Brazilian banks that do not export UTF-8 use).
QString textoDoExtrato(const QByteArray &bytes);

// The records of the text: a line ends at LF, at CR LF and at a lone CR (old
// Mac files); no empty record after a final line end.
QStringList linhasDoExtrato(const QString &texto);

// What double quotes do in a layout's lines.
enum class Aspas {
    // Finara's own layout: every separator splits, also inside quotes, and
    // every quote is removed from the trimmed field.
    Removidas,
    // CSV: a quoted field may hold the separator, and "" inside it is one quote.
    Protegem,
};

// The fields of one record, each trimmed. With a maximo, the last field
// holds the rest of the line, its separators included, so nothing the file
// held is lost.
QStringList camposDaLinha(const QString &linha, QChar separador, Aspas aspas, int maximo = -1);

// The longest line whose fields fit gastos: a dd/MM/yyyy date, a supplier of
// 255 and a description of 1000 characters, the longest DECIMAL(13,2) amount
// as written ("R$ -99.999.999.999,99"), three separators and quotes around
// each of the four fields.
const int maximoDaLinha = 10 + 255 + 21 + 1000 + 3 + 8;

// Whether the line has more than maximo characters (not UTF-16 units).
bool longaDemais(const QString &linha, int maximo = maximoDaLinha);

// The index of the first line longer than maximo characters, or -1.
int linhaLongaDemais(const QStringList &linhas, int maximo = maximoDaLinha);

// At most the first 80 characters of a text, for a message: a bad line may
// be megabytes long.
QString trecho(const QString &texto);

#endif // TEXTOEXTRATO_H
