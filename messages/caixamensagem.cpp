#include "messages/caixamensagem.h"

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
