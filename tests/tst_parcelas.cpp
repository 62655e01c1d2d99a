#include "classification/classificacaodegastos.h"
#include "import/historicodeimportacoes.h"
#include "import/importarcsv.h"
#include "instalments/compromissos.h"
#include "instalments/janelacompromissos.h"
#include "instalments/tabelacompras.h"
#include "reports/janeladetalhe.h"
#include "support/bancoteste.h"
#include "support/respostamodal.h"

#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

Q_DECLARE_METATYPE(ParcelaVista)

// Card statements with instalments imported month after month through the real window: each
// instalment linked to its purchase, classified like it, and what is committed ahead.
class TstParcelas : public QObject
{
    Q_OBJECT
    BancoTeste banco {QStringLiteral("parcelas")};
    QTemporaryDir pasta;

    // The summary's lines on what was classified.
    QString importa(const QByteArray &linhas)
    {
        QSqlDatabase padrao = QSqlDatabase::database();
        ImportarCSV d;
        d.setupData(&padrao);
        RespostaModal resposta;
        resposta.sempre(QMessageBox::Yes);
        QMetaObject::invokeMethod(&d, "loadCsvIntoTableWidget",
                                  Q_ARG(QString, gravarExtrato(pasta.path(), "date,title,amount\n" + linhas)),
                                  Q_ARG(QTableWidget *, d.findChild<QTableWidget *>()));
        d.findChild<QPushButton *>("pushButton_importar")->click();
        return resposta.motivos().value(resposta.motivos().size() - 1).split('\n').filter("classificad").join(' ');
    }

private slots:
    void init()
    {
        QVERIFY(banco.esvaziar() && banco.executa("INSERT INTO categoria VALUES (1, 'Casa'), (2, 'Lazer')"));
        QVERIFY(QSqlQuery().exec("SET SESSION auto_increment_increment = 1"));
    }

    // The purchase's total: the imported instalments at their own amounts (the first one carries
    // the rounding), the others at the latest one's, refunds aside.
    void totalDaCompra_data()
    {
        QTest::addColumn<QVector<ParcelaVista>>("vistas");
        QTest::addColumn<QString>("descricao"); // of instalment 2 of 3
        const QDate out(2026, 10, 5), nov(2026, 11, 5);
        QTest::newRow("arredondamento na primeira") << QVector<ParcelaVista> {{1, out, 10004}, {2, nov, 10000}}
                                                    << "Parcela 2 de 3 — compra de 10/2026, total R$\u00A0300,04";
        QTest::newRow("estorno à parte") << QVector<ParcelaVista> {{1, nov, -10000}, {1, out, 10000}}
                                         << "Parcela 2 de 3 — compra de 10/2026, total R$\u00A0300,00";
    }
    void totalDaCompra()
    {
        QFETCH(QVector<ParcelaVista>, vistas);
        QTEST(descricaoDaParcela(Compra {1, "TV", 3, {}, vistas, 0, {}}, 2), "descricao");
    }

    // Three monthly statements (a Nubank card's CSV), one of them perhaps never imported.
    void compromissos_data()
    {
        QTest::addColumn<QString>("preparo"); // on the program's connection, before the imports
        QTest::addColumn<QByteArrayList>("faturas");
        // Of the instalments, by date: the first TV classified after its import, the last Loja at the end.
        QTest::addColumn<QString>("categorias");
        QTest::addColumn<QString>("porMes");     // committed from 12/2026 on, months with something
        QTest::addColumn<QString>("falta");      // the TV's gap
        QTest::addColumn<QString>("resumo");     // of the last import, on what was classified
        const QByteArray outubro = "2026-10-05,TV - Parcela 1/10,120.00\n2026-10-06,Loja - Parcela 1/3,50.00\n";
        const QByteArray novembro = "2026-11-05,TV - Parcela 2/10,120.00\n2026-11-06,Loja - Parcela 2/3,50.00\n"
                                    "2026-11-07,Outra TV - Parcela 1/2,90.00\n";
        const QByteArray dezembro = "2026-12-05,TV - Parcela 3/10,120.00\n2026-12-06,Loja - Parcela 3/3,50.00\n";
        const QString tv = "01/2027 120,00; 02/2027 120,00; 03/2027 120,00; 04/2027 120,00; 05/2027 120,00; "
                           "06/2027 120,00; 07/2027 120,00";
        const QString daCompra = "1 parcela classificada como as outras da mesma compra.";
        const QByteArray estorno = "2026-12-08,TV - Parcela 3/10,-120.00\n";
        QTest::newRow("três faturas") << "" << QByteArrayList {outubro, novembro, dezembro}
                                      << "1,1,1,1,-,1,1" << "12/2026 90,00; " + tv << "" << daCompra;
        QTest::newRow("chaves de 3 em 3") << "SET SESSION auto_increment_increment = 3"
                                          << QByteArrayList {outubro, novembro, dezembro}
                                          << "1,1,1,1,-,1,1" << "12/2026 90,00; " + tv << "" << daCompra;
        QTest::newRow("a do meio faltando") << "" << QByteArrayList {outubro, dezembro} << "1,1,1,1" << tv
                                            << "parcela 2 não importada" << daCompra;
        const QString estornada = QString(tv).replace("; 07/2027 120,00", "");
        const QString duasDaCompra = "2 parcelas classificadas como as outras das mesmas compras.";
        QTest::newRow("estorno de uma parcela") << "" << QByteArrayList {outubro, dezembro + estorno}
                                                << "1,1,1,1,1" << estornada << "parcela 2 não importada"
                                                << duasDaCompra;
        const QByteArray parteEstornada = QByteArray(estorno).replace("120.00", "50.00");
        QTest::newRow("estorno de parte da parcela") << "" << QByteArrayList {outubro, dezembro + parteEstornada}
                                                     << "1,1,1,1,1"
                                                     << QString(tv).replace("07/2027 120,00", "07/2027 70,00")
                                                     << "parcela 2 não importada" << duasDaCompra;
        QTest::newRow("estorno acima da parcela") << "" << QByteArrayList {outubro, estorno + dezembro}
                                                  << "1,1,1,1,1" << estornada << "parcela 2 não importada"
                                                  << duasDaCompra;
        // The rule's category stays, and the summary counts the instalment once.
        QTest::newRow("regra na parcela") << "INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, "
                                             "idCategoria) VALUES (1, 'Parcela 2/10', 0, 1, 2)"
                                          << QByteArrayList {outubro, novembro} << "1,1,2,1,-"
                                          << "12/2026 260,00; " + tv << "" << "1 gasto classificado pelas regras.";
    }
    void compromissos()
    {
        QFETCH(QString, preparo);
        QVERIFY(preparo.isEmpty() || QSqlQuery().exec(preparo));
        QFETCH(QByteArrayList, faturas);
        const auto classifica = [this](const char *ultimaDe) {
            const int id = banco.valor("SELECT MAX(idGasto) FROM gastos WHERE fornecedor = ?", {ultimaDe}).toInt();
            QVERIFY(ClassificacaoDeGastos::classificar({id}, 1).ok());
        };
        QString resumo;
        for (int mes = 0; mes < faturas.size(); ++mes) {
            resumo = importa(faturas.at(mes));
            if (mes == 0) // classified by the user: the later ones come classified
                classifica("TV");
        }
        QTEST(resumo, "resumo");
        classifica("Loja"); // and the earlier ones are classified with it
        QTEST(banco.valor("SELECT GROUP_CONCAT(IFNULL(idCategoria, '-') ORDER BY data) FROM gastos").toString(),
              "categorias");
        const Resultado<QVector<Compra>> compras = TabelaCompras::lista();
        QVERIFY(compras.ok());
        const Compromissos futuros = ::compromissos(compras.valor(), QDate(2026, 12, 15));
        QStringList porMes;
        for (int mes = 0; mes < futuros.meses.size(); ++mes) {
            qint64 soma = 0;
            for (const int categoria : futuros.porCategoria.keys())
                soma += futuros.soma(categoria, mes);
            if (soma)
                porMes << futuros.meses.at(mes).toString("MM/yyyy ") + QString::number(soma / 100.0, 'f', 2)
                                                                           .replace('.', ',');
        }
        QTEST(porMes.join("; "), "porMes");
        const auto tv = std::find_if(compras.valor().cbegin(), compras.valor().cend(),
                                     [](const Compra &c) { return c.fornecedor == "TV"; });
        QVERIFY(tv != compras.valor().cend());
        QTEST(lacunas(*tv), "falta");
        QCOMPARE(descricaoDaParcela(*tv, 3), "Parcela 3 de 10 — compra de 10/2026, total R$\u00A01.200,00");
        // The detail window names the purchase of the TV's latest instalment (and of its refund).
        const int ultimaParcela = tv->vistas.last().numero;
        const QVariant categoria = banco.valor("SELECT idCategoria FROM gastos WHERE fornecedor = 'TV' AND parcela = ? "
                                               "AND valor > 0", {ultimaParcela});
        JanelaDetalhe detalhe(categoria.toInt(), tv->vistas.last().data, QStringLiteral("TV"), nullptr);
        const QStringList linhas = linhasDaGrade(detalhe.findChild<QTableWidget *>()).filter("|TV|");
        QVERIFY2(!linhas.isEmpty() && linhas.filter(descricaoDaParcela(*tv, ultimaParcela)) == linhas,
                 qPrintable(linhas.join('\n')));
        // The window lists them without a word, its total last.
        RespostaModal semAvisos;
        JanelaCompromissos janela;
        const auto *grade = janela.findChild<QTableWidget *>();
        QCOMPARE(semAvisos.vistas(), QStringList());
        QCOMPARE(grade->item(grade->rowCount() - 1, 0)->text(), QString("Total"));
        // The last statement undone: a purchase it began goes with it.
        const int ultima = banco.valor("SELECT MAX(idImportacao) FROM importacao").toInt();
        QVERIFY(HistoricoDeImportacoes::desfazer(QSqlDatabase::database(), ultima, false).ok());
        QCOMPARE(banco.valor("SELECT COUNT(*) FROM compra c WHERE NOT EXISTS "
                             "(SELECT 1 FROM gastos g WHERE g.idCompra = c.idCompra)").toInt(), 0);
    }
};

QTEST_MAIN(TstParcelas)
#include "tst_parcelas.moc"
