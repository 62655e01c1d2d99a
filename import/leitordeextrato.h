#ifndef LEITORDEEXTRATO_H
#define LEITORDEEXTRATO_H

#include "import/leituraextrato.h"

class QTableWidget;
class QWidget;
struct Reconhecimento;

// Reads a statement file for the import dialog: recognises its layout from
// its start, reads OFX and the banks' CSV files, and for a delimited file
// of an unknown header uses the mapping stored for that header or asks the
// user for one (stored for the next time). A file in Finara's own layout
// comes back marked `proprio`, its bytes left for the dialog to split.
class LeitorDeExtrato
{
public:
    explicit LeitorDeExtrato(QWidget *janela);

    LeituraExtrato le(const QString &caminho) const;

    // The rows go in above those already in the grid, in file order, the
    // bank's id in column 0's item under Qt::UserRole.
    static void acrescentaNaGrade(QTableWidget *grade, const QVector<LancamentoExtrato> &lancamentos);

private:
    LeituraExtrato leDoBanco(const QByteArray &bytes, const Reconhecimento &reconhecimento) const;
    LeituraExtrato comColunasEscolhidas(const QStringList &linhas, int cabecalho, QChar separador) const;

    QWidget *m_janela;
};

#endif // LEITORDEEXTRATO_H
