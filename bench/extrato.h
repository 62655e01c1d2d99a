#ifndef EXTRATO_H
#define EXTRATO_H

#include "bench/medicao.h"

#include <QSqlDatabase>
#include <QList>
#include <QStringList>

#include <memory>

class BancoTeste;
class ImportarCSV;

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
    // The import of a loaded grid, its transaction on the handle given; with
    // an account, the file is one whose account is remembered.
    Operacao importarGrade(QSqlDatabase *handle, int idConta = 0) const;
    // The same rows through LOAD DATA LOCAL INFILE on the default connection.
    Operacao carregarLocal() const;

private:
    void esvaziaGastos() const;

    QString m_caminho;
    QString m_convertido; // the converted rows, tab-separated, for LOAD DATA
    QList<QStringList> m_registros;
    BancoTeste &m_banco;
};

// The import dialog, shown, and a file read into its grid.
std::unique_ptr<ImportarCSV> dialogoMostrado();
void carrega(ImportarCSV &dialogo, const QString &caminho);
// Its grid imported, failing the benchmark when the import fails.
void importa(ImportarCSV &dialogo);

#endif // EXTRATO_H
