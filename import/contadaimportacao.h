#ifndef CONTADAIMPORTACAO_H
#define CONTADAIMPORTACAO_H

#include "accounts/conta.h"
#include "database/resultado.h"

#include <QObject>

#include <optional>

class QComboBox;
class QPushButton;

// The account an import belongs to, in the "Conta" box above the preview:
// the one remembered for the file's identity, else the one the file names
// (made on import, if the user keeps it), else the user's choice. The
// choice is remembered for the next statement with the same identity.
class ContaDaImportacao final : public QObject
{
    Q_OBJECT

public:
    ContaDaImportacao(QComboBox *caixa, QPushButton *nova, QWidget *janela);
    ~ContaDaImportacao() override;

    // A file was read: identidade is what it says of itself, sugerida the
    // account it names, if any.
    void arquivoLido(const QString &identidade, const std::optional<Conta> &sugerida);

    // What the last file read says of itself.
    const QString &identidade() const { return m_identidade; }

    // The account chosen: 0 for none, -1 for the one the file names, not made yet.
    int escolhida() const;

    // Inside the import's transaction: makes the account the file names when
    // it is the one chosen, remembers the choice for the file, and gives the
    // account's key (0: none).
    Resultado<int> gravar();

signals:
    void mudou();

private:
    void lista();
    void seleciona(int idConta);
    void novaConta();

    QComboBox *m_caixa;
    QWidget *m_janela;
    QString m_identidade;
    std::optional<Conta> m_sugerida;
};

#endif // CONTADAIMPORTACAO_H
