#ifndef VALORBANCARIO_H
#define VALORBANCARIO_H

#include <QString>
#include <QtGlobal>

// How a bank writes its amounts.
enum class NotacaoValor {
    PontoDecimal,  // "-1,234.56", "-45.90"
    VirgulaDecimal // "-1.234,56", "R$ 29,90"
};

// The amount in cents; false when the text is not an amount in that
// notation or has non-zero digits past the cents.
bool centavosDoValor(const QString &texto, NotacaoValor notacao, qint64 *centavos);

// Cents as the preview grid shows an amount: "-1234,56", no thousands
// points, so the import reads it back exactly.
QString valorNaGrade(qint64 centavos);

// A date written in `formato` (fixed-width: "dd/MM/yyyy", "yyyyMMdd",
// "dd/MM/yy"...) as "dd/MM/yyyy"; a null string when it is not such a
// date. A two-digit year is of this century.
QString dataNaGrade(const QString &texto, const QString &formato);

#endif // VALORBANCARIO_H
