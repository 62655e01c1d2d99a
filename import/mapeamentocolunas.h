#ifndef MAPEAMENTOCOLUNAS_H
#define MAPEAMENTOCOLUNAS_H

#include "statements/layoutextrato.h"

#include <QDialog>

class QComboBox;

namespace Ui {
class MapeamentoColunas;
}

// Asks where the date, supplier, amount (or money in and out) and
// description stand in a delimited file whose header no layout knows, with
// the notations guessed from its rows. OK is taken only when every row of
// the file reads with the mapping.
class MapeamentoColunas final : public QDialog
{
    Q_OBJECT

public:
    explicit MapeamentoColunas(const QStringList &linhas, int cabecalho, QChar separador, QWidget *parent = nullptr);
    ~MapeamentoColunas() override;

    LayoutExtrato layout() const;

public slots:
    void accept() override;

private:
    void mostraAmostra();
    void preencheColunas(QComboBox *combo, int escolhida, bool opcional);
    static void escolhe(QComboBox *combo, const QVariant &valor);

    Ui::MapeamentoColunas *ui;
    QStringList m_linhas;
    int m_cabecalho;
    LayoutExtrato m_sugerido;
};

#endif // MAPEAMENTOCOLUNAS_H
