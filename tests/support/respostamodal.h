#ifndef RESPOSTAMODAL_H
#define RESPOSTAMODAL_H

#include <QMessageBox>
#include <QTimer>

#include <functional>

class QTableWidget;

// Answers the modal windows the code under test opens: each takes the next queued action; with
// none left, the standing answer for boxes when one is set, otherwise a box is closed as Esc closes
// it and any other window is left to CTest's timeout. A queued action left unused fails the test.
class RespostaModal : public QObject
{
    Q_OBJECT

public:
    using Acao = std::function<void(QWidget *janela)>;

    explicit RespostaModal(QObject *parent = nullptr);
    ~RespostaModal() override;
    void aoAbrir(Acao acao) { m_acoes.append(std::move(acao)); }
    // Once the queue is empty: boxes answered with botao (or Ok where it is absent), other windows closed.
    void sempre(QMessageBox::StandardButton botao) { m_sempre = botao; }
    void responder(QMessageBox::StandardButton botao);
    void escolherArquivo(const QString &caminho); // in the real file dialog
    QStringList vistas() const { return m_vistas; } // a box's text, another window's class
    QStringList motivos() const { return m_motivos; } // each box's informative text

private:
    void verificar();

    QTimer m_timer;
    QList<Acao> m_acoes;
    QMessageBox::StandardButton m_sempre = QMessageBox::NoButton;
    QStringList m_vistas;
    QStringList m_motivos;
};

// A statement file written into pasta; a button's click; a grid's rows as "cell|cell|...", "*"
// in front of a row painted red, "-" for a cell without item.
QString gravarExtrato(const QString &pasta, const QByteArray &conteudo);
void clicar(QWidget *janela, const char *botao);
QStringList linhasDaGrade(const QTableWidget *grade);

#endif // RESPOSTAMODAL_H
