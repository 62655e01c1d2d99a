#ifndef RESPOSTAMODAL_H
#define RESPOSTAMODAL_H

#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

class QTableWidget;

// Answers the modal windows a test makes the code under test open: each window takes the next
// queued action; a box with none left is closed with its escape button, and any other window
// left open for two seconds is closed, so that a test fails instead of hanging.
class RespostaModal : public QObject
{
    Q_OBJECT

public:
    using Acao = std::function<void(QWidget *janela)>;

    explicit RespostaModal(QObject *parent = nullptr);
    ~RespostaModal() override;

    void aoAbrir(Acao acao);
    void responder(QMessageBox::StandardButton botao);
    // Picks caminho in the real file dialog.
    void escolherArquivo(const QString &caminho);
    // Every window seen: a box's text, or the class name of any other window.
    QStringList vistas() const { return m_vistas; }

private:
    void verificar();

    QTimer m_timer;
    QList<Acao> m_acoes;
    QStringList m_vistas;
    QPointer<QWidget> m_atual;
    int m_ciclos = 0;
};

// Helpers of several tests: a statement file in pasta, a button's click, and a grid's rows
// as "cell|cell|...", with "*" in front of a row painted red and "-" for a cell without item.
QString gravarExtrato(const QString &pasta, const QByteArray &conteudo);
void clicar(QWidget *janela, const char *botao);
QStringList linhasDaGrade(const QTableWidget *grade);

#endif // RESPOSTAMODAL_H
