#ifndef EXTRATO_H
#define EXTRATO_H

#include "bench/medicao.h"

#include <QSqlDatabase>
#include <QList>
#include <QStringList>

class BancoTeste;

// A bank statement file of the benchmark's own, and what is measured on it:
// reading it into the import dialog's grid and importing that grid, each
// beside a baseline doing the same essential work without the dialog.
class Extrato
{
public:
    // Writes `linhas` lines into pasta, in the forms banks export.
    Extrato(const QString &pasta, int linhas, BancoTeste &banco);

    // Baseline: the file read line by line and split, kept in memory, no grid.
    Operacao lerEDividir() const;
    // The preview: reading into the dialog's grid, marking its repeated
    // rows and painting it.
    Operacao lerEMostrar() const;
    // The marking's baseline: the expenses of the file's dates.
    Operacao lerAsDatas() const;

    // Baseline: the prepared single-row insert in a bare loop, one
    // transaction, with the values the dialog binds.
    Operacao inserirEmLaco() const;
    // The import of a loaded grid, its transaction on the handle given.
    Operacao importarGrade(QSqlDatabase *handle) const;
    // The same rows through LOAD DATA LOCAL INFILE on the default connection.
    Operacao carregarLocal() const;

private:
    void esvaziaGastos() const;

    QString m_caminho;
    QString m_convertido; // the converted rows, tab-separated, for LOAD DATA
    QList<QStringList> m_registros;
    BancoTeste &m_banco;
};

#endif // EXTRATO_H
