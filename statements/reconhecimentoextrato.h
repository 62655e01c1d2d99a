#ifndef RECONHECIMENTOEXTRATO_H
#define RECONHECIMENTOEXTRATO_H

#include "statements/linhaextrato.h"

#include <QByteArray>
#include <QChar>

struct LayoutExtrato;

// How much of a file decides its layout: a huge file of an unknown layout
// is refused without being read whole.
const int inicioQueDecide = 64 * 1024;

enum class TipoDeExtrato {
    Proprio,  // Finara's own "data;nome;valor;descrição", read as it always was
    Ofx,
    Banco,    // one of the banks' CSV layouts (or a mapping the user made)
    Mapeavel, // a delimited file with a header no layout knows: the user maps its columns
    Recusado  // a spreadsheet, a PDF or an unknown layout: `erro` says what was expected
};

struct Reconhecimento
{
    TipoDeExtrato tipo = TipoDeExtrato::Proprio;
    const LayoutExtrato *layout = nullptr;
    int cabecalho = -1; // the header's line, -1 when the file has none
    QChar separador;    // of a Mapeavel file
    QString erro;
};

// The layout of a file from its first bytes (at most inicioQueDecide;
// `completo` when they are the whole file). Our own layout is tried first,
// by the first line, so that a file valid in it reads as it always has.
Reconhecimento reconheceExtrato(const QByteArray &inicio, bool completo);

// The whole file read as it was recognised (Ofx or Banco; a Mapeavel one
// with the layout the user mapped).
LeituraExtrato leExtrato(const QByteArray &arquivo, const Reconhecimento &reconhecimento,
                         const LayoutExtrato *mapeado = nullptr);

#endif // RECONHECIMENTOEXTRATO_H
