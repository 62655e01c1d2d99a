#ifndef IMPORTARCSV_H
#define IMPORTARCSV_H

#include "import/origemdaprevia.h"
#include "import/resultadoimportacao.h"
#include "database/resultado.h"

#include <QDialog>
#include <QVector>

#include <optional>

class ContaDaImportacao;
class LinhasRepetidas;
struct ArquivoExtrato;
struct LayoutExtrato;
class QModelIndex;
class QSqlDatabase;
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
    bool insertTableWidgetDataToDatabase(QTableWidget *tableWidget);
    void on_pushButton_lercsv_clicked();
    void on_tableWidget_dados_doubleClicked(const QModelIndex &index);
    void on_pushButton_importar_clicked();

private:
    QSqlDatabase bancoDaTransacao() const;
    bool leArquivo(const ArquivoExtrato &arquivo, QTableWidget *tabela);
    bool deOutraConta(const QString &identidade, const QTableWidget *tabela);
    std::optional<LayoutExtrato> layoutMapeado(const ArquivoExtrato &arquivo);
    void criaMenuDaGrade();
    QVector<int> linhasAGravar(QTableWidget *tabela);
    Resultado<> grava(QTableWidget *tabela, const QVector<int> &linhas);
    Resultado<> gravaGastos(const QVector<GradeDaPrevia::Linha> &gastos, const QVector<int> &linhas, int idImportacao,
                            int idConta);
    void mostraLinhaRecusada();

    Ui::ImportarCSV *ui;
    QSqlDatabase *db = nullptr;
    int linhaRecusada = -1;
    Motivo motivoDaImportacao;
    Motivo motivoDaLeitura;
    ResultadoImportacao resultado;
    // The layout of the file read last, shown above the grid.
    QString nomeDoLayout;
    LinhasRepetidas *repetidas;
    ContaDaImportacao *conta;
    OrigemDaPrevia origem;
    int cargas = 0; // files read into the grid so far
    bool deixarRepetidas = false;
};

#endif // IMPORTARCSV_H
