#ifndef TRADUCAOQT_H
#define TRADUCAOQT_H

class QCoreApplication;

// Installs Qt's own Brazilian Portuguese translation (qtbase_pt_BR, from
// Debian's qttranslations5-l10n) on app, so that the standard buttons and
// the file dialog speak Portuguese. False when the file is not installed.
bool instalaTraducaoDoQt(QCoreApplication &app);

#endif // TRADUCAOQT_H
