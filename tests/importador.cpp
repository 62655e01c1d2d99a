// One desktop of the household importing a statement file into a scratch database, answering
// "Importar só as novas": for the test of two desktops at once.
//   importador DATABASE FILE
#include "import/importarcsv.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3 || !BancoTeste::abrirPadrao(QString::fromLocal8Bit(argv[1])))
        return 2;
    QSqlDatabase padrao = QSqlDatabase::database();
    ImportarCSV dialogo;
    dialogo.setupData(&padrao);
    RespostaModal resposta;
    resposta.sempre(QMessageBox::Yes);
    bool lido = false;
    QMetaObject::invokeMethod(&dialogo, "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                              Q_ARG(QString, QString::fromLocal8Bit(argv[2])),
                              Q_ARG(QTableWidget *, dialogo.findChild<QTableWidget *>()));
    dialogo.findChild<QPushButton *>("pushButton_importar")->click();
    return lido && resposta.vistas().value(resposta.vistas().size() - 1) == "O extrato foi importado." ? 0 : 1;
}
