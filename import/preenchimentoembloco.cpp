#include "import/preenchimentoembloco.h"

#include <QSignalBlocker>
#include <QTableWidget>

void preencheEmBloco(QTableWidget *grade, int linhas, const std::function<void(int)> &preencheLinha)
{
    grade->setColumnCount(4);
    grade->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Nome"), QStringLiteral("Valor"),
                                      QStringLiteral("Descrição")});
    // One block: inserting a row at a time at the top would move every row
    // below it each time.
    QAbstractItemModel *modelo = grade->model();
    modelo->insertRows(0, linhas);
    {
        const QSignalBlocker semAvisos(modelo);
        for (int linha = 0; linha < linhas; ++linha)
            preencheLinha(linha);
    }
    if (linhas > 0)
        emit modelo->dataChanged(modelo->index(0, 0), modelo->index(linhas - 1, grade->columnCount() - 1));
}
