#include "database/chaveiro.h"

#include <qt5keychain/keychain.h>

namespace Chaveiro {

namespace {

const QString servico = QStringLiteral("Finara");

} // namespace

void guardar(const QString &conta, const QString &senha)
{
    auto *trabalho = new QKeychain::WritePasswordJob(servico);
    trabalho->setKey(conta);
    trabalho->setTextData(senha);
    trabalho->start();
}

void ler(const QString &conta, QObject *contexto, std::function<void(const QString &)> aoLer)
{
    auto *trabalho = new QKeychain::ReadPasswordJob(servico);
    trabalho->setKey(conta);
    QObject::connect(trabalho, &QKeychain::Job::finished, contexto, [trabalho, aoLer = std::move(aoLer)] {
        if (trabalho->error() == QKeychain::NoError)
            aoLer(trabalho->textData());
    });
    trabalho->start();
}

} // namespace Chaveiro
