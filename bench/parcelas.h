#ifndef PARCELAS_H
#define PARCELAS_H

class BancoTeste;
class QString;
class Quadro;

// A card statement of `linhas` rows whose purchases are paid in instalments,
// imported beside the same statement without them.
void medeParcelasNaImportacao(BancoTeste &banco, const QString &pasta, int linhas, Quadro &quadro);

// The commitments window over `gastos` expenses, a hundredth of them
// instalments, beside its statement.
void medeCompromissos(BancoTeste &banco, int gastos, Quadro &quadro);

#endif // PARCELAS_H
