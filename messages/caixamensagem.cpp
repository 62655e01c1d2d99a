#include "messages/caixamensagem.h"

#include <QPushButton>

namespace {

QWidget *janelaNaTela(QWidget *pai)
{
    QWidget *janela = pai;
    while (janela && !janela->isVisible() && janela->parentWidget())
        janela = janela->parentWidget()->window();
    return janela && janela->isVisible() ? janela : pai;
}

} // namespace

QMessageBox::StandardButton mostraCaixa(QWidget *pai, QMessageBox::Icon icone, const QString &titulo,
                                        const QString &texto, const Motivo &motivo,
                                        QMessageBox::StandardButtons botoes)
{
    QMessageBox caixa(icone, titulo, texto, botoes, janelaNaTela(pai));
    caixa.setInformativeText(motivo.texto);
    caixa.setDetailedText(motivo.detalhes);
    return QMessageBox::StandardButton(caixa.exec());
}

QMessageBox::StandardButton mostraPergunta(QWidget *pai, const QString &titulo, const QString &texto,
                                           const QString &informativo,
                                           const QVector<QPair<QMessageBox::StandardButton, QString>> &botoes)
{
    QMessageBox caixa(QMessageBox::Question, titulo, texto, QMessageBox::NoButton, janelaNaTela(pai));
    caixa.setInformativeText(informativo);
    for (const auto &[botao, rotulo] : botoes)
        caixa.addButton(botao)->setText(rotulo);
    if (!botoes.isEmpty())
        caixa.setDefaultButton(botoes.first().first);
    return QMessageBox::StandardButton(caixa.exec());
}
