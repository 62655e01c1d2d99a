#ifndef VALOR_H
#define VALOR_H

#include <QString>
#include <QtGlobal>

#include <optional>

// How a file writes its amounts.
enum class NotacaoValor {
    VirgulaDecimal, // "-1.234,56", "R$ 29,90", "- 260,46"
    PontoDecimal,   // "-1,234.56", "-45.90"
    // Finara's own layout and the preview grid: a decimal comma, except that
    // a lone point before one or two final digits, in an amount without a
    // comma, is a decimal point ("12.50"), as spreadsheets write it.
    Brasileira,
};

// The largest amount gastos holds: DECIMAL(13,2).
const qint64 maiorValorEmCentavos = 9999999999999;

// The amount in cents, or nothing when the text is not an amount in that
// notation. Around the digits may stand a sign and "R$", with blanks
// between them; inside, a thousands mark (or a blank) counts only in a
// valid grouping, so "12.50" in a decimal-comma notation and "4 5" are no
// amounts, never ones a hundred or ten times larger. More than two
// decimals are refused (the server would round them away), except zeros
// in the point notation that machines write ("45.900").
std::optional<qint64> leCentavos(const QString &texto, NotacaoValor notacao);

// Whether an amount is written with a decimal comma ("34,00", "- 260,46"):
// what tells a file's notation where its bank has used both.
bool escritoComVirgula(const QString &texto);

// Cents as the preview grid shows an amount: "-1234,56", no thousands
// marks, so the grid's reader takes it back exactly.
QString valorNaGrade(qint64 centavos);

// Cents as the server takes a DECIMAL: "-1234.56".
QString valorParaBanco(qint64 centavos);

#endif // VALOR_H
