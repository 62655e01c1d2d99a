#ifndef BANCOS_H
#define BANCOS_H

class Quadro;
class QString;

// The banks' statement files: a 10,000-transaction OFX read into the
// import dialog's grid beside reading and splitting its bytes, and a 50 MB
// file of an unknown layout refused beside reading it whole.
void medeExtratosBancarios(const QString &pasta, Quadro &quadro);

#endif // BANCOS_H
