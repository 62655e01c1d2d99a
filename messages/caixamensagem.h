#ifndef CAIXAMENSAGEM_H
#define CAIXAMENSAGEM_H

#include <QMessageBox>
#include <QPair>
#include <QString>
#include <QVector>

// Why something went wrong, in the user's terms, and the server's own words
// for whoever wants them (shown only behind the box's details button).
struct Motivo
{
    Motivo(QString texto = {}, QString detalhes = {}, QString codigo = {})
        : texto(std::move(texto)), detalhes(std::move(detalhes)), codigo(std::move(codigo))
    {
    }

    QString texto;
    QString detalhes;
    QString codigo; // the server's error code, for the code that acts on one
};

// A modal message box with the reason as its informative text. It is
// parented to pai's window or, while that is not on screen yet (a dialog
// still being set up), to the nearest window above it that is, so that it
// opens over what the user is looking at.
// padrao is the button Enter presses.
QMessageBox::StandardButton mostraCaixa(QWidget *pai, QMessageBox::Icon icone, const QString &titulo,
                                        const QString &texto, const Motivo &motivo = {},
                                        QMessageBox::StandardButtons botoes = QMessageBox::Ok,
                                        QMessageBox::StandardButton padrao = QMessageBox::NoButton);

// A question whose answers are the program's own words ("Importar só as
// novas"): each standard button given with its text, the first the default.
// The answer clicked, or the escape button's when the box is closed.
QMessageBox::StandardButton mostraPergunta(QWidget *pai, const QString &titulo, const QString &texto,
                                           const QString &informativo,
                                           const QVector<QPair<QMessageBox::StandardButton, QString>> &botoes);

#endif // CAIXAMENSAGEM_H
