#ifndef RESPOSTAMODAL_H
#define RESPOSTAMODAL_H

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

// What a modal window looked like when it was answered.
struct JanelaVista
{
    QString classe;     // the window's class name, "QMessageBox" for boxes
    QString tipo;       // "information", "warning", "critical", "question" for boxes
    QString titulo;
    QString texto;
    QMessageBox::StandardButtons botoes;
    QWidget *pai = nullptr;
};

// Answers the modal windows a test makes the code under test open. Each
// window that appears takes the next queued action; a message box with no
// action queued is closed with its escape button, any other dialog rejected,
// so a test never hangs. Every window answered is recorded.
class RespostaModal : public QObject
{
    Q_OBJECT

public:
    using Acao = std::function<void(QWidget *janela)>;

    explicit RespostaModal(QObject *parent = nullptr);
    ~RespostaModal() override;

    void aoAbrir(Acao acao);
    void responder(QMessageBox::StandardButton botao);

    const QList<JanelaVista> &vistas() const { return m_vistas; }
    QStringList textos() const;
    int pendentes() const { return m_acoes.size(); }

private:
    void verificar();
    void executar(const Acao &acao, QWidget *janela);
    void registrar(QWidget *janela);
    void fecharSemAcao(QWidget *janela);

    QTimer m_timer;
    QList<Acao> m_acoes;
    QList<JanelaVista> m_vistas;
    QPointer<QWidget> m_atual;
    int m_ciclosNaMesma = 0;
};

#endif // RESPOSTAMODAL_H
