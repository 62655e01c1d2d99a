#include "register/escolhasdegasto.h"

#include <QComboBox>

void acrescentaCategorias(QComboBox *caixa, const QVector<QPair<int, QString>> &categorias)
{
    caixa->addItem(QStringLiteral("Não Classificado"), 0);
    for (const auto &[id, nome] : categorias)
        caixa->addItem(nome, id);
}

void acrescentaContas(QComboBox *caixa, const QVector<Conta> &contas)
{
    caixa->addItem(QStringLiteral("Sem conta"), 0);
    for (const Conta &conta : contas)
        caixa->addItem(conta.nome, conta.id);
}

void escolhe(QComboBox *caixa, int id)
{
    caixa->setCurrentIndex(qMax(caixa->findData(id), 0));
}
