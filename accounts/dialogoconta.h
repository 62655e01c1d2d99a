#ifndef DIALOGOCONTA_H
#define DIALOGOCONTA_H

#include "accounts/conta.h"

#include <QDialog>

namespace Ui {
class DialogoConta;
}

// Asks for a new account's name, kind and bank, and creates it: OK is taken
// only once the account exists, so a refused name stays to be corrected.
class DialogoConta final : public QDialog
{
    Q_OBJECT

public:
    // With a suggestion filled in, as from a statement file that names its bank.
    explicit DialogoConta(const Conta &sugerida, QWidget *parent = nullptr);
    ~DialogoConta() override;

    // The account made, once accepted.
    Conta conta() const { return m_conta; }

public slots:
    void accept() override;

private:
    Ui::DialogoConta *ui;
    Conta m_conta;
};

#endif // DIALOGOCONTA_H
