#include "app/finara.h"
#include "categories/categoria.h"
#include "support/bancoteste.h"
#include "support/capturadebug.h"
#include "support/respostamodal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <utility>

namespace {

enum Falha { Nenhuma, TabelaAusente, ConexaoFechada, SemConexao };
// Inserted in this order, so the keys do not follow the names.
const QStringList iniciais {"Mercado", "aluguel", "Lazer"};
const QStringList ordenados {"aluguel", "Lazer", "Mercado"};

QTableView *tabela(QWidget *d) { return d->findChild<QTableView *>("tableView_categoria"); }
QSet<QString> conjunto(const QStringList &nomes) { return {nomes.begin(), nomes.end()}; }

QStringList nomesNaLista(QWidget *d)
{
    QStringList nomes;
    for (int linha = 0; linha < tabela(d)->model()->rowCount(); ++linha)
        nomes << tabela(d)->model()->index(linha, 1).data().toString();
    return nomes;
}

void inserirNome(QWidget *d, const QString &texto)
{
    d->findChild<QLineEdit *>("lineEdit_categoria")->setText(texto);
    d->findChild<QPushButton *>("pushButton_inserir")->click();
}

// Answers boxes in turn; each is seen as "type|title|text N", N debug lines having come before it.
struct Caixas
{
    CapturaDebug debug;
    RespostaModal modal;
    QList<int> antes;

    void responder(QMessageBox::StandardButton botao = QMessageBox::Ok)
    {
        modal.aoAbrir([this, botao](QWidget *janela) {
            antes << debug.linhas().size();
            qobject_cast<QMessageBox *>(janela)->button(botao)->click();
        });
    }

    QStringList vistas() const
    {
        QStringList lista;
        for (int i = 0; i < modal.vistas().size(); ++i)
            lista << QStringList({modal.vistas().at(i).tipo, modal.vistas().at(i).titulo, modal.vistas().at(i).texto}).join('|')
                         + QStringLiteral(" %1").arg(antes.value(i, -1));
        return lista;
    }
};

// One line giving the server's reason, or none when there is no reason.
void verificaDiagnostico(const QStringList &linhas, const QString &prefixo, const QString &motivo)
{
    QCOMPARE(linhas.size(), motivo.isNull() ? 0 : 1);
    QVERIFY2(motivo.isNull() || (linhas.first().startsWith(prefixo + QStringLiteral(" \"")) && linhas.first().contains(motivo)),
             qPrintable(linhas.value(0)));
}

} // namespace

// The category dialog on its own scratch database, its boxes answered and its debug lines captured.
class TstCategoria : public QObject
{
    Q_OBJECT

    BancoTeste banco {QStringLiteral("categoria")};
    bool tabelaRenomeada = false;

    void provocar(int falha)
    {
        if (falha == TabelaAusente)
            QVERIFY((tabelaRenomeada = banco.executa(QStringLiteral("RENAME TABLE categoria TO categoria_fora"))));
        else if (falha == ConexaoFechada)
            QSqlDatabase::database(QSqlDatabase::defaultConnection, false).close();
        else if (falha == SemConexao)
            QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    }

    // In the order of their keys; empty if the table cannot be read.
    QStringList nomesNoBanco() const
    {
        const QString sql = QStringLiteral("SELECT GROUP_CONCAT(categoria ORDER BY idCategoria SEPARATOR '\n') FROM categoria");
        return banco.valor(sql).toString().split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase() { QVERIFY2(banco.pronto(), qPrintable(banco.erro())); }

    void init()
    {
        QVERIFY(banco.executa(QStringLiteral("DELETE FROM categoria")));
        for (const QString &nome : iniciais)
            QVERIFY(banco.executa(QStringLiteral("INSERT INTO categoria (categoria) VALUES (?)"), {nome}));
    }

    void cleanup()
    {
        if (std::exchange(tabelaRenomeada, false))
            QVERIFY(banco.executa(QStringLiteral("RENAME TABLE categoria_fora TO categoria")));
        if (!QSqlDatabase::database(QSqlDatabase::defaultConnection, false).isOpen())
            QVERIFY(banco.abrirPadrao());
    }

    // Modal, sorted on opening, focus "Inserir", field, table; read unsorted after a change.
    void abertoPelaJanelaPrincipal()
    {
        Finara w;
        RespostaModal resposta;
        QStringList aoAbrir, aposInserir, foco;
        bool modal = false, chaveOculta = false;
        resposta.aoAbrir([&](QWidget *d) {
            modal = d->isModal() && d->parentWidget() == &w;
            aoAbrir = nomesNaLista(d);
            for (QWidget *x = d->findChild<QPushButton *>("pushButton_inserir"); foco.size() < 3; x = x->nextInFocusChain())
                foco << x->objectName();
            inserirNome(d, QStringLiteral("Banco"));
            aposInserir = nomesNaLista(d);
            chaveOculta = tabela(d)->isColumnHidden(0);
            d->close();
        });
        w.findChild<QPushButton *>("pushButton_categoria")->click();
        QCOMPARE(resposta.vistas().value(0).classe, QStringLiteral("Categoria"));
        QVERIFY(modal && chaveOculta);
        QCOMPARE(aoAbrir, ordenados);
        QCOMPARE(foco, QStringList({"pushButton_inserir", "lineEdit_categoria", "tableView_categoria"}));
        QCOMPARE(conjunto(aposInserir), conjunto(ordenados + QStringList({"Banco"})));
    }

    void inserir_data()
    {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("erro"); // the server's reason for refusing
        QTest::addColumn<QStringList>("gravados");
        QTest::newRow("espaços em volta") << "  Farmácia \t" << QString() << iniciais + QStringList({"Farmácia"});
        QTest::newRow("repetido em outra caixa") << " mercado " << "Duplicate entry" << iniciais;
        QTest::newRow("só espaços") << "   " << "ck_categoria_nome" << iniciais;
        QTest::newRow("vazio não faz nada") << "" << QString() << iniciais;
    }

    // A refusal is shown before it is logged; the field is cleared either way.
    void inserir()
    {
        QFETCH(QString, digitado);
        QFETCH(QString, erro);
        QFETCH(QStringList, gravados);
        Categoria d;
        d.setupData();
        Caixas caixas;
        caixas.responder();
        inserirNome(&d, digitado);

        QVERIFY(d.findChild<QLineEdit *>("lineEdit_categoria")->text().isEmpty());
        QCOMPARE(nomesNoBanco(), gravados);
        QCOMPARE(caixas.vistas(), erro.isNull() ? QStringList() : QStringList({"warning|Erro|Erro ao inserir item 0"}));
        if (gravados == iniciais) { // the list is not read again
            QCOMPARE(nomesNaLista(&d), ordenados);
            verificaDiagnostico(caixas.debug.linhas(), QStringLiteral("Erro ao inserir item na tabela categoria:"), erro);
        } else {
            QCOMPARE(conjunto(nomesNaLista(&d)), conjunto(gravados));
            QCOMPARE(caixas.debug.linhas(), QStringList({"Item inserido com sucesso!"}));
        }
    }

    void apagar_data()
    {
        QTest::addColumn<int>("falha");
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QStringList>("restantes");
        QTest::addColumn<QString>("erro"); // null: no failure
        QTest::newRow("sim") << int(Nenhuma) << int(QMessageBox::Yes) << QStringList({"Mercado", "aluguel"}) << QString();
        QTest::newRow("não") << int(Nenhuma) << int(QMessageBox::No) << iniciais << QString();
        QTest::newRow("tabela ausente") << int(TabelaAusente) << int(QMessageBox::Yes) << QStringList() << "doesn't exist";
        QTest::newRow("conexão fechada") << int(ConexaoFechada) << int(QMessageBox::Yes) << iniciais << "";
    }

    // A real double-click on "Lazer", in the middle of the sorted list with the last key.
    void apagar()
    {
        QFETCH(int, falha);
        QFETCH(int, resposta);
        QFETCH(QStringList, restantes);
        QFETCH(QString, erro);
        Categoria d;
        d.setupData();
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        provocar(falha);
        Caixas caixas;
        caixas.responder(QMessageBox::StandardButton(resposta));
        caixas.responder();
        emit tabela(&d)->doubleClicked(QModelIndex()); // outside the rows: nothing
        const QPoint centro = tabela(&d)->visualRect(tabela(&d)->model()->index(ordenados.indexOf("Lazer"), 1)).center();
        QTest::mouseDClick(d.windowHandle(), Qt::LeftButton, {}, tabela(&d)->viewport()->mapTo(&d, centro));

        QStringList esperadas {"question|Apagar Item|Deseja realmente apagar este item? 0"};
        if (!erro.isNull())
            esperadas << "warning|Erro|Erro ao apagar item 0";
        QCOMPARE(caixas.vistas(), esperadas);
        QCOMPARE(caixas.modal.vistas().first().botoes, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(nomesNoBanco(), restantes);
        QCOMPARE(conjunto(nomesNaLista(&d)), conjunto(erro.isNull() ? restantes : iniciais));
        QVERIFY(tabela(&d)->isColumnHidden(0));
        verificaDiagnostico(caixas.debug.linhas(), QStringLiteral("Erro ao apagar item:"), erro);
    }

    void falhaNaListaAoAbrir_data()
    {
        QTest::addColumn<int>("falha");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("nenhuma conexão") << int(SemConexao) << "Driver not loaded";
        QTest::newRow("conexão fechada sem texto de erro") << int(ConexaoFechada) << "";
    }

    // Warned after the log line; once connected, the same dialog inserts and lists, key hidden.
    void falhaNaListaAoAbrir()
    {
        QFETCH(int, falha);
        QFETCH(QString, motivo);
        provocar(falha);
        Caixas caixas;
        caixas.responder();
        Categoria d;
        d.setupData();

        QCOMPARE(caixas.vistas(), QStringList({"warning|Erro na Conexão|Erro na leitura do banco de dados 1"}));
        verificaDiagnostico(caixas.debug.linhas(), QStringLiteral("Erro ao executar consulta:"), motivo);
        QCOMPARE(tabela(&d)->model()->rowCount(), 0);

        QVERIFY(banco.abrirPadrao());
        inserirNome(&d, QStringLiteral("Nova"));
        QCOMPARE(conjunto(nomesNaLista(&d)), conjunto(iniciais + QStringList({"Nova"})));
        QVERIFY(tabela(&d)->isColumnHidden(0));
    }
};

QTEST_MAIN(TstCategoria)
#include "tst_categoria.moc"
