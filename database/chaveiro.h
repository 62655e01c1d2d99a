#ifndef CHAVEIRO_H
#define CHAVEIRO_H

#include <QString>

#include <functional>

class QObject;

// The desktop's keyring (GNOME's, KDE's), through QtKeychain: the password of
// a household account is kept there and nowhere else. Without a keyring
// nothing is kept, never a plain-text copy, and it is asked again.
namespace Chaveiro {

void guardar(const QString &conta, const QString &senha);

// aoLer gets the password kept for conta, once the keyring answers and only
// if it has one; not at all after contexto is gone.
void ler(const QString &conta, QObject *contexto, std::function<void(const QString &)> aoLer);

} // namespace Chaveiro

#endif // CHAVEIRO_H
