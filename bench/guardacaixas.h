#ifndef GUARDACAIXAS_H
#define GUARDACAIXAS_H

#include <QObject>
#include <QStringList>

// Closes every message box as soon as it is shown, so none blocks the
// benchmark, and keeps its text: a box during a measured operation means
// the operation did not do what was meant to be measured.
class GuardaCaixas : public QObject
{
    Q_OBJECT

public:
    explicit GuardaCaixas(QObject *parent = nullptr);
    ~GuardaCaixas() override;

    // Stops the benchmark when a box was shown since the last call.
    void confere(const QString &onde);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    QStringList m_textos;
};

#endif // GUARDACAIXAS_H
