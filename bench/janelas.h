#ifndef JANELAS_H
#define JANELAS_H

#include "bench/medicao.h"

#include <QDate>
#include <QVariantList>

// What is measured on the report, the classification dialog and the detail
// window, each built with its real class on the default connection, and the
// baseline of each: its statement run alone. Every operation writes the
// number of rows it ended with into *linhas, so that a window and its
// baseline can be checked to have shown the same rows.

// The statement on the default connection, the values bound in order, every
// value of every row read.
Operacao instrucao(const QString &sql, const QVariantList &valores, int *linhas);

// The report, built, shown and painted.
Operacao abrirRelatorio(int *linhas);

// The classification dialog opened as the main window opens it (setupData
// lists the current month), shown and painted.
Operacao abrirClassificacao(int *linhas);
// "Filtrar" in a dialog that has already listed the month and sorted it by
// amount, so the listing refills a grid whose sorting is on.
Operacao listarDeNovo(int *linhas);

Operacao abrirDetalhe(int id, const QDate &mes, const QString &nome, int *linhas);

#endif // JANELAS_H
