#include "bench/bancos.h"

#include "bench/falha.h"
#include "bench/previa.h"
#include "bench/quadro.h"
#include "import/importarcsv.h"
#include "import/leitordeextrato.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTextStream>

#include <memory>

namespace {

const int transacoes = 10000;
const int megabytes = 50;
const QDate inicio(2025, 12, 1); // the OFX's first day; it spans a year

void escreve(const QString &caminho, const QByteArray &bytes)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(bytes) != bytes.size())
        falha(QStringLiteral("cannot write ") + caminho);
}

// OFX 1.x as Brazilian banks export it: Windows-1252, leaf tags left open.
QByteArray ofx()
{
    const QStringList nomes {"SUPERMERCADO PÃO DE AÇÚCAR", "PADARIA SANTA LUZIA", "POSTO SHELL", "IFOOD",
                             "DROGARIA SÃO PAULO", "C&amp;A MODAS", "UBER *TRIP", "ATACADÃO"};
    QString texto = QStringLiteral("OFXHEADER:100\r\nDATA:OFXSGML\r\nCHARSET:1252\r\n\r\n<OFX>\r\n<BANKMSGSRSV1>\r\n"
                                   "<STMTTRNRS>\r\n<STMTRS>\r\n<BANKTRANLIST>\r\n");
    for (int i = 0; i < transacoes; ++i) {
        texto += QStringLiteral("<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<DTPOSTED>%1[-3:BRT]\r\n<TRNAMT>-%2.%3\r\n"
                                "<FITID>N%4\r\n<NAME>%5\r\n<MEMO>COMPRA CARTAO DEBITO %4\r\n</STMTTRN>\r\n")
                     .arg(inicio.addDays(i % 365).toString(QStringLiteral("yyyyMMdd'120000'")))
                     .arg((i * 7919) % 2500)
                     .arg(i % 100, 2, 10, QLatin1Char('0'))
                     .arg(i)
                     .arg(nomes.at(i % nomes.size()));
    }
    texto += QStringLiteral("</BANKTRANLIST>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n");
    return texto.toLatin1();
}

Operacao lerEDividir(const QString &caminho)
{
    return {[] {}, [caminho] {
        QFile arquivo(caminho);
        arquivo.open(QIODevice::ReadOnly | QIODevice::Text);
        QTextStream entrada(&arquivo);
        QStringList linhas;
        while (!entrada.atEnd())
            linhas << entrada.readLine();
    }};
}

Operacao lerNaGrade(const QString &caminho)
{
    auto dialogo = std::make_shared<std::unique_ptr<ImportarCSV>>();
    return {[dialogo] {
        *dialogo = std::make_unique<ImportarCSV>();
        (*dialogo)->show();
        QApplication::processEvents();
    }, [dialogo, caminho] {
        QTableWidget *grade = (*dialogo)->findChild<QTableWidget *>(QStringLiteral("tableWidget_dados"));
        bool lido = false;
        QMetaObject::invokeMethod(dialogo->get(), "loadCsvIntoTableWidget", Q_RETURN_ARG(bool, lido),
                                  Q_ARG(QString, caminho), Q_ARG(QTableWidget *, grade));
        QApplication::processEvents();
        if (!lido || grade->rowCount() != transacoes)
            falha(QStringLiteral("the dialog did not read the OFX whole"));
    }, [dialogo] { dialogo->reset(); }};
}

Operacao lerInteiro(const QString &caminho)
{
    return {[] {}, [caminho] {
        QFile arquivo(caminho);
        arquivo.open(QIODevice::ReadOnly);
        if (arquivo.readAll().size() != megabytes * 1024 * 1024)
            falha(QStringLiteral("cannot read ") + caminho);
    }};
}

Operacao recusar(const QString &caminho)
{
    return {[] {}, [caminho] {
        if (LeitorDeExtrato(nullptr).le(caminho).erro.isEmpty())
            falha(QStringLiteral("the unknown layout was not refused"));
    }};
}

} // namespace

void medeExtratosBancarios(const QString &pasta, Quadro &quadro)
{
    const QString caminhoOfx = QDir(pasta).filePath(QStringLiteral("extrato.ofx"));
    const QString desconhecido = QDir(pasta).filePath(QStringLiteral("desconhecido.txt"));
    escreve(caminhoOfx, ofx());
    escreve(desconhecido, QByteArray("coluna a,coluna b\n").repeated(megabytes * 1024 * 1024 / 18)
                              + QByteArray(megabytes * 1024 * 1024 % 18, '\n'));

    const QVector<Medida> r = mede({lerEDividir(caminhoOfx), lerNaGrade(caminhoOfx),
                                       lerInteiro(desconhecido), recusar(desconhecido),
                                       lerAsDatas(inicio, inicio.addDays(364))});
    quadro.base(QStringLiteral("ler e dividir o OFX em linhas (base)"), transacoes, r.at(0));
    comparaPrevia(quadro, QStringLiteral("ler o OFX na grade do diálogo"), transacoes, r.at(1), r.at(0), r.at(4));
    quadro.base(QStringLiteral("ler inteiro um arquivo de 50 MB (base)"), 1, r.at(2));
    quadro.compara(QStringLiteral("recusar 50 MB de layout desconhecido"), 1, r.at(3),
                   QStringLiteral("ler inteiro"), r.at(2), 0.2);
    QFile::remove(desconhecido);
}
