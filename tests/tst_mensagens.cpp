#include "categories/categoria.h"
#include "import/importarcsv.h"
#include "messages/caixamensagem.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"
#include <QtTest>
#include <QtWidgets>

// Why a box says a row or a name was refused, or what was written; entradas with ";" are imported.
class TstMensagens : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("mensagens")};

private slots:
    void motivoNaCaixa_data()
    {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("esperada");
        const auto caso = QTest::newRow;
        caso("31 de fevereiro") << "31/02/2024;B;2,00;y"
                                << "Linha 2: a data 31/02/2024 não existe (escreva dd/mm/aaaa, de 1900 a 2100)";
        caso("valor dez") << "02/02/2024;B;dez;y" << "Linha 2: o valor dez não é um valor em reais";
        caso("resumo") << "02/02/2024;B;1.234,56;y" << "2 gastos gravados, total de R$\u00A01.446,90.";
        caso("categoria repetida") << "mercado"
            << "Já existe a categoria “mercado” (maiúsculas e acentos não contam).";
    }
    void motivoNaCaixa()
    {
        QFETCH(QString, entrada);
        QVERIFY(banco.executa("INSERT IGNORE INTO categoria (categoria) VALUES ('Mercado')"));
        QTemporaryFile f;
        QVERIFY(f.open() && f.write("01/02/2024;A;212,34;x\n" + entrada.toUtf8()) && f.flush());
        QSqlDatabase db = QSqlDatabase::database();
        QWidget janelas;
        ImportarCSV csv(&janelas);
        csv.setupData(&db);
        QMetaObject::invokeMethod(&csv, "loadCsvIntoTableWidget", Q_ARG(QString, f.fileName()),
                                  Q_ARG(QTableWidget *, csv.findChild<QTableWidget *>()));
        Categoria categoria(&janelas);
        categoria.findChild<QLineEdit *>()->setText(entrada);
        QString dito;
        RespostaModal modal;
        QString detalhes;
        modal.aoAbrir([&](QWidget *c) {
            dito = static_cast<QMessageBox *>(c)->informativeText();
            detalhes = static_cast<QMessageBox *>(c)->detailedText();
        });
        modal.responder(QMessageBox::Ok);
        auto botao = entrada.contains(';') ? "pushButton_importar" : "pushButton_inserir";
        janelas.findChild<QPushButton *>(botao)->click();
        QTEST(dito.section('\n', 0, 0), "esperada");
        // The server's English only under the Portuguese of what happened.
        QVERIFY2(detalhes.isEmpty() || detalhes.startsWith(dito.section('\n', 0, 0) + "\n\nResposta do servidor"),
                 qPrintable(detalhes));
    }

    // A short text under a longer title: the box as wide as the title bar needs for the title in
    // bold beside the window's icon and three buttons.
    void caixaCabeOTitulo()
    {
        const QString titulo = "Importação concluída";
        int largura = 0;
        RespostaModal modal;
        modal.aoAbrir([&](QWidget *caixa) {
            largura = caixa->width();
            caixa->close();
        });
        mostraCaixa(nullptr, QMessageBox::Information, titulo, "Feito.");
        QFont negrito = QApplication::font();
        negrito.setBold(true);
        const QFontMetrics medida(negrito);
        QVERIFY(largura >= medida.horizontalAdvance(titulo) + 4 * medida.height());
    }
};

QTEST_MAIN(TstMensagens)
#include "tst_mensagens.moc"
