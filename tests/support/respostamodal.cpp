#include "support/respostamodal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QTableWidget>
#include <QTest>

RespostaModal::RespostaModal(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &RespostaModal::verificar);
    m_timer.start(10);
}

RespostaModal::~RespostaModal()
{
    if (!m_acoes.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("%1 resposta(s) sem janela; vistas: %2")
                                    .arg(m_acoes.size()).arg(m_vistas.join(" | "))), __FILE__, __LINE__);
}

void RespostaModal::responder(QMessageBox::StandardButton botao)
{
    aoAbrir([botao](QWidget *caixa) { static_cast<QMessageBox *>(caixa)->button(botao)->click(); });
}

void RespostaModal::escolherArquivo(const QString &caminho)
{
    aoAbrir([caminho](QWidget *janela) {
        janela->focusWidget()->clearFocus(); // or selectFile leaves the name field alone
        qobject_cast<QFileDialog *>(janela)->selectFile(caminho);
        qobject_cast<QDialog *>(janela)->accept();
    });
}

void RespostaModal::verificar()
{
    QWidget *janela = QApplication::activeModalWidget();
    auto *caixa = qobject_cast<QMessageBox *>(janela);
    if (!janela || !janela->isVisible() || (m_acoes.isEmpty() && !caixa && m_sempre == QMessageBox::NoButton))
        return;
    m_vistas << (caixa ? caixa->text() : QString::fromLatin1(janela->metaObject()->className()));
    if (caixa)
        m_motivos << caixa->informativeText();
    if (m_acoes.isEmpty() && m_sempre != QMessageBox::NoButton) {
        QAbstractButton *botao = caixa ? caixa->button(m_sempre) : nullptr;
        botao = botao || !caixa ? botao : caixa->button(QMessageBox::Ok);
        botao ? botao->click() : void(janela->close());
        return;
    }
    if (m_acoes.isEmpty()) {
        janela->close();
        return;
    }
    // A timer does not fire while its slot runs: the windows the action opens need another.
    QTimer aninhado;
    connect(&aninhado, &QTimer::timeout, this, &RespostaModal::verificar);
    aninhado.start(10);
    m_acoes.takeFirst()(janela);
}

QString gravarExtrato(const QString &pasta, const QByteArray &conteudo)
{
    QFile arquivo(pasta + QStringLiteral("/%1.csv").arg(qHash(conteudo)));
    const bool ok = arquivo.open(QFile::WriteOnly) && arquivo.write(conteudo) == conteudo.size();
    return ok ? arquivo.fileName() : QString();
}

void clicar(QWidget *janela, const char *botao)
{
    janela->findChild<QAbstractButton *>(QLatin1String(botao))->click();
}

QStringList linhasDaGrade(const QTableWidget *grade)
{
    QStringList linhas;
    for (int linha = 0; linha < grade->rowCount(); ++linha) {
        QString texto;
        bool vermelha = true;
        for (int coluna = 0; coluna < grade->columnCount(); ++coluna) {
            const QTableWidgetItem *item = grade->item(linha, coluna);
            texto += (coluna ? "|" : "") + (item ? item->text() : QStringLiteral("-"));
            vermelha = vermelha && (!item || item->background() == QBrush(Qt::red));
        }
        linhas << (vermelha ? QStringLiteral("*") : QString()) + texto;
    }
    return linhas;
}
