#include "support/respostamodal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

namespace {

QString tipoDaCaixa(const QMessageBox *caixa)
{
    switch (caixa->icon()) {
    case QMessageBox::Information: return QStringLiteral("information");
    case QMessageBox::Warning: return QStringLiteral("warning");
    case QMessageBox::Critical: return QStringLiteral("critical");
    case QMessageBox::Question: return QStringLiteral("question");
    default: return QStringLiteral("none");
    }
}

const int intervaloMs = 10;
// A window that stays open with nothing left to do for it is closed after
// this many checks (two seconds), so that a test fails instead of hanging.
const int ciclosAteDesistir = 200;

} // namespace

RespostaModal::RespostaModal(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &RespostaModal::verificar);
    m_timer.start(intervaloMs);
}

RespostaModal::~RespostaModal() = default;

void RespostaModal::aoAbrir(Acao acao)
{
    m_acoes.append(std::move(acao));
}

void RespostaModal::responder(QMessageBox::StandardButton botao)
{
    aoAbrir([botao](QWidget *janela) {
        auto *caixa = qobject_cast<QMessageBox *>(janela);
        if (caixa && caixa->button(botao))
            caixa->button(botao)->click();
        else if (auto *dialogo = qobject_cast<QDialog *>(janela))
            dialogo->reject();
    });
}

QStringList RespostaModal::textos() const
{
    QStringList lista;
    for (const JanelaVista &v : m_vistas)
        lista << v.texto;
    return lista;
}

void RespostaModal::verificar()
{
    QWidget *janela = QApplication::activeModalWidget();
    if (!janela || !janela->isVisible())
        return;
    const bool nova = janela != m_atual;
    if (nova) {
        m_atual = janela;
        m_ciclosNaMesma = 0;
        registrar(janela);
    }
    if (!m_acoes.isEmpty()) {
        m_ciclosNaMesma = 0;
        executar(m_acoes.takeFirst(), janela);
        return;
    }
    if (nova && qobject_cast<QMessageBox *>(janela)) {
        fecharSemAcao(janela);
        return;
    }
    if (++m_ciclosNaMesma > ciclosAteDesistir) {
        qWarning("RespostaModal: closing %s left open with nothing to do",
                 janela->metaObject()->className());
        fecharSemAcao(janela);
    }
}

void RespostaModal::executar(const Acao &acao, QWidget *janela)
{
    // A timer does not fire again while its own slot runs, so the windows
    // this action opens are watched by a fresh one.
    QTimer aninhado;
    connect(&aninhado, &QTimer::timeout, this, &RespostaModal::verificar);
    aninhado.start(intervaloMs);
    acao(janela);
}

void RespostaModal::registrar(QWidget *janela)
{
    JanelaVista vista;
    vista.classe = QString::fromLatin1(janela->metaObject()->className());
    vista.titulo = janela->windowTitle();
    vista.pai = janela->parentWidget();
    if (auto *caixa = qobject_cast<QMessageBox *>(janela)) {
        vista.tipo = tipoDaCaixa(caixa);
        vista.texto = caixa->text();
        vista.botoes = caixa->standardButtons();
    }
    m_vistas.append(vista);
}

void RespostaModal::fecharSemAcao(QWidget *janela)
{
    auto *caixa = qobject_cast<QMessageBox *>(janela);
    if (caixa && caixa->escapeButton())
        caixa->escapeButton()->click();
    else if (auto *dialogo = qobject_cast<QDialog *>(janela))
        dialogo->reject();
    else
        janela->close();
}
