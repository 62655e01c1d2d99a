#include "messages/caixamensagem.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>
#include <QSpacerItem>

namespace {

QWidget *janelaNaTela(QWidget *pai)
{
    QWidget *janela = pai;
    while (janela && !janela->isVisible() && janela->parentWidget())
        janela = janela->parentWidget()->window();
    return janela && janela->isVisible() ? janela : pai;
}

// The window manager writes the title beside an icon and three buttons, in
// a bold font; QMessageBox sizes itself by its texts alone, so a box with a
// short text cut its title. Six lines' height is the room those take.
void largaComoOTitulo(QMessageBox &caixa)
{
    QFont negrito = caixa.font();
    negrito.setBold(true);
    const QFontMetrics medida(negrito);
    const int largura = medida.horizontalAdvance(caixa.windowTitle()) + 6 * medida.height();
    auto *grade = qobject_cast<QGridLayout *>(caixa.layout());
    grade->addItem(new QSpacerItem(largura, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grade->rowCount(), 0, 1,
                   grade->columnCount());
}

} // namespace

QMessageBox::StandardButton mostraCaixa(QWidget *pai, QMessageBox::Icon icone, const QString &titulo,
                                        const QString &texto, const Motivo &motivo,
                                        QMessageBox::StandardButtons botoes, QMessageBox::StandardButton padrao)
{
    QMessageBox caixa(icone, titulo, texto, botoes, janelaNaTela(pai));
    caixa.setDefaultButton(padrao);
    caixa.setInformativeText(motivo.texto);
    caixa.setDetailedText(motivo.detalhes);
    largaComoOTitulo(caixa);
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
    largaComoOTitulo(caixa);
    return QMessageBox::StandardButton(caixa.exec());
}
