#ifndef RESPOSTAMODAL_H
#define RESPOSTAMODAL_H

#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

class QTableWidget;

// Answers the modal windows a test makes the code under test open: each one takes the next
// queued action; with none left, a box is closed as Esc closes it, and any other window after
// two seconds, so that a test fails instead of hanging.
class RespostaModal : public QObject
{
    Q_OBJECT

public:
    using Acao = std::function<void(QWidget *janela)>;

    explicit RespostaModal(QObject *parent = nullptr);

    void aoAbrir(Acao acao);
    void responder(QMessageBox::StandardButton botao);
    void escolherArquivo(const QString &caminho); // in the real file dialog
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

// What several tests do: write a statement file into a folder, click a button, and read a grid
// as "cell|cell|..." a row, "*" in front of a row painted red, "-" for a cell without item.
QString gravarExtrato(const QString &pasta, const QByteArray &conteudo);
void clicar(QWidget *janela, const char *botao);
QStringList linhasDaGrade(const QTableWidget *grade);

#endif // RESPOSTAMODAL_H
