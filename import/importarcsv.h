#ifndef IMPORTARCSV_H
#define IMPORTARCSV_H

#include "import/origemdaprevia.h"
#include "import/resultadoimportacao.h"
#include "messages/caixamensagem.h"

#include <QDialog>
#include <QList>
#include <QSqlError>
#include <QStringList>
#include <QVariant>

class LinhasRepetidas;
struct LeituraExtrato;
class QModelIndex;
class QSqlDatabase;
class QSqlQuery;
class QTableWidget;

namespace Ui {
class ImportarCSV;
}

// Brings a bank statement into gastos: the file is read into an editable
// preview grid, where rows can be removed or corrected, and the grid is then
// written in one transaction.
class ImportarCSV : public QDialog
{
    Q_OBJECT

public:
    explicit ImportarCSV(QWidget *parent = nullptr);
    ~ImportarCSV() override;

public slots:
    // The handle the transaction runs through; the statements themselves go
    // to the default connection. Not owned.
    void setupData(QSqlDatabase *db);

private slots:
    bool deleteSelectedRow(QTableWidget *tableWidget);
    bool loadCsvIntoTableWidget(QString filePath, QTableWidget *tableWidget);
    bool insertDataToDatabase(QList<QStringList> data);
    bool insertTableWidgetDataToDatabase(QTableWidget *tableWidget);
    void on_pushButton_lercsv_clicked();
    void on_tableWidget_dados_doubleClicked(const QModelIndex &index);
    void on_pushButton_importar_clicked();

private:
    QSqlDatabase bancoDaTransacao() const;
    static bool insereRegistro(QSqlQuery &query, const QVariantList &valores);
    bool leLayoutProprio(const LeituraExtrato &extrato, QTableWidget *tableWidget);
    void mostraLinhaRecusada();
    Motivo motivoDaImportacaoRecusada() const;

    Ui::ImportarCSV *ui;
    QSqlDatabase *db = nullptr;
    int linhaRecusada = -1;
    QSqlError erroDaImportacao;
    Motivo motivoDaLeitura;
    ResultadoImportacao resultado;
    // The layout of the file read last, shown above the grid.
    QString nomeDoLayout;
    LinhasRepetidas *repetidas;
    OrigemDaPrevia origem;
    bool deixarRepetidas = false;
};

#endif // IMPORTARCSV_H
