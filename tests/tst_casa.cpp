#include "database/bancodedados.h"
#include "support/respostamodal.h"

#include <QLineEdit>
#include <QNetworkInterface>
#include <QSemaphore>
#include <QSqlQuery>
#include <QSslSocket>
#include <QTcpServer>
#include <QtTest>

namespace {

const QString endereco = QStringLiteral("127.0.0.2");

// Whoever holds the household's address without being its server: it greets as MariaDB does,
// asking for the password in the clear, offers TLS with its certificate when it has one, and
// keeps all that reaches it. In a thread of its own, as the driver connects on the test's.
class Impostor final : public QThread
{
public:
    QByteArray recebido;

    explicit Impostor(const QString &certificado) : m_certificado(certificado)
    {
        start();
        m_pronto.acquire();
    }
    ~Impostor() override { acabar(); }
    void acabar() // once Finara's attempt is over, whatever it was
    {
        requestInterruption();
        wait();
    }

private:
    class Escuta : public QTcpServer
    {
    public:
        qintptr descritor = -1;
        void incomingConnection(qintptr d) override { descritor = d; }
    };

    static QByteArray saudacao(bool tls)
    {
        QByteArray corpo("\x0a" "5.5.5-10.11.0-MariaDB\0" "\7\0\0\0" "abcdefgh\0", 36);
        QDataStream d(&corpo, QIODevice::Append);
        d.setByteOrder(QDataStream::LittleEndian);
        d << quint16(tls ? 0x8a09 : 0x8209) << quint8(0x21) << quint16(2) << quint16(8) << quint8(21);
        corpo += QByteArray(10, '\0') + QByteArray("ijklmnopqrst\0" "mysql_clear_password\0", 34);
        QByteArray cabecalho;
        QDataStream(&cabecalho, QIODevice::WriteOnly) << quint8(corpo.size()) << quint16(0) << quint8(0);
        return cabecalho + corpo;
    }

    void run() override
    {
        Escuta escuta;
        escuta.listen(QHostAddress(endereco), 3306);
        m_pronto.release();
        while (!escuta.waitForNewConnection(50))
            if (isInterruptionRequested())
                return;
        QSslSocket s;
        s.setSocketDescriptor(escuta.descritor);
        s.write(saudacao(!m_certificado.isEmpty()));
        while (s.waitForReadyRead(6000)) {
            recebido += s.readAll();
            if (!m_certificado.isEmpty() && !s.isEncrypted() && recebido.size() >= 36) { // TLS asked
                s.setLocalCertificate(m_certificado + ".pem");
                s.setPrivateKey(m_certificado + ".key", QSsl::Ec);
                s.startServerEncryption();
            }
        }
    }

    QString m_certificado;
    QSemaphore m_pronto;
};

} // namespace

// The household server: the throwaway server shared on 127.0.0.2 by scripts/db-server, one
// person's account on it, and Finara's connection window typed into as that person would.
// Shell commands get the data directory as $1, db-server as $2 and a scratch directory as $3.
class TstCasa : public QObject
{
    Q_OBJECT
    QTemporaryDir pasta;
    const QString dados = qEnvironmentVariable("FINARA_DATA_DIR");
    const QString ca = dados + "/ca/finara-ca.pem";
    QString senhaDaAna;
    bool servidorNoAr = true;

    QString sh(const QString &comando) const
    {
        QProcess p;
        p.start("bash", {"-c", comando, "bash", dados, FINARA_DB_SERVER, pasta.path()});
        p.waitForFinished(60000);
        return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QStringLiteral("falhou");
    }
    static QString conectar(BancodeDados &d, const QString &usuario, const QString &senha, const QString &ca)
    {
        for (const auto &[campo, texto] : {std::pair("lineEdit_host", endereco), {"lineEdit_user", usuario},
                                          {"lineEdit_senha", senha}, {"lineEdit_certificado", ca}}) {
            auto *linha = d.findChild<QLineEdit *>(campo);
            linha->clear();
            QTest::keyClicks(linha, texto);
        }
        QMetaObject::invokeMethod(&d, "on_pushButton_bd_clicked");
        return d.findChild<QObject *>("label_status")->property("text").toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!dados.isEmpty());
        if (!QNetworkInterface::interfaceFromName("lo").flags().testFlag(QNetworkInterface::IsUp))
            QSKIP("the namespace's loopback is down: servidor-isolado.sh brings it up only as root");
        const QString criada = sh("$2 share " + endereco + " >/dev/null && $2 add-user ana");
        senhaDaAna = QRegularExpression("shown only this once: (\\S+)").match(criada).captured(1);
        QVERIFY2(!senhaDaAna.isEmpty(), qPrintable(criada));
        // A certificate the household's authority made for another address.
        QVERIFY(sh("cd $3 && openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -subj /CN=x "
                    "-keyout outro-endereco.key | openssl x509 -req -CA $1/ca/finara-ca.pem -CAkey "
                    "$1/ca/finara-ca-key.pem -set_serial 9 -days 1 -out outro-endereco.pem "
                    "-extfile <(echo subjectAltName=IP:127.0.0.9)") != "falhou");
    }

    void conexaoPelaRede_data()
    {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("senha"); // "*": the one add-user printed
        QTest::addColumn<bool>("comCa");
        QTest::addColumn<QString>("impostor"); // its certificate in $3; "-": none, no TLS; "": the server
        QTest::addColumn<QString>("motivo"); // the box's reason; none when it connects
        QTest::newRow("conta própria com TLS") << "ana" << "*" << true << "" << "";
        QTest::newRow("senha errada") << "ana" << "errada" << true << ""
                                      << "O servidor recusou o usuário ana ou a senha.";
        QTest::newRow("conta embutida pela rede") << "vestara_tilmo" << "h8TQ2w%KZLN[" << true << ""
                                                  << "A conta vestara_tilmo está bloqueada nesse servidor.";
        // The server is stopped from here on, its address taken by the impostor.
        const QString naoProvou = "O servidor em 127.0.0.2 não provou ser o servidor da casa: ele não oferece "
                                  "conexão segura ou o certificado dele não é o do arquivo da casa. A senha não "
                                  "foi enviada.";
        QTest::newRow("sem o certificado da casa") << "ana" << "*" << false << "-"
            << "Para conectar a 127.0.0.2, escolha o arquivo do certificado da casa, que quem administra o "
               "servidor copia para você.";
        QTest::newRow("impostor sem TLS") << "ana" << "*" << true << "-" << naoProvou;
        QTest::newRow("impostor com certificado da casa para outro endereço")
            << "ana" << "*" << true << "outro-endereco" << naoProvou;
    }
    void conexaoPelaRede()
    {
        QFETCH(QString, usuario);
        QFETCH(QString, senha);
        QFETCH(bool, comCa);
        QFETCH(QString, impostor);
        QFETCH(QString, motivo);
        senha.replace("*", senhaDaAna);
        if (!impostor.isEmpty() && servidorNoAr)
            servidorNoAr = sh("$FINARA_SERVIDOR_ISOLADO stop") == "falhou";
        QScopedPointer<Impostor> falso(impostor.isEmpty() ? nullptr
                                       : new Impostor(impostor == "-" ? QString() : pasta.filePath(impostor)));
        BancodeDados d;
        RespostaModal resposta;
        const QString estado = conectar(d, usuario, senha, comCa ? ca : QString());
        QCOMPARE(resposta.motivos().value(0), motivo);
        QCOMPARE(estado, QString(motivo.isEmpty() ? "Banco de dados conectado" : "Erro ao conectar Banco de dados"));
        if (falso) {
            falso->acabar();
            QVERIFY(!falso->recebido.contains(senha.toUtf8()));
        }
        if (!motivo.isEmpty())
            return;
        // Encrypted, as ana, with the application's rights and no others; what she writes is there.
        QSqlQuery q(d.readBD());
        QVERIFY(q.exec("SHOW STATUS LIKE 'Ssl_cipher'") && q.next() && !q.value(1).toString().isEmpty());
        QVERIFY(q.exec("SHOW GRANTS") && q.next() && q.next());
        QCOMPARE(q.value(0).toString(), QString("GRANT SELECT, INSERT, UPDATE, DELETE ON `vestara_gastos`.* TO `ana`@`%`"));
        QVERIFY(!q.next());
        QVERIFY(q.exec("INSERT categoria (categoria) VALUES ('Feira da ana')"));
        QCOMPARE(sh("mariadb --no-defaults -S $1/mariadb/mysqld.sock -N -e "
                    "\"SELECT COUNT(*) FROM vestara_gastos.categoria WHERE categoria = 'Feira da ana'\""),
                 QString("1\n"));
        // Remembered for the next time, but never the password.
        QFile configuracao(QSettings("Finara", "Finara").fileName());
        QVERIFY(configuracao.open(QFile::ReadOnly));
        QVERIFY(!configuracao.readAll().contains(senhaDaAna.toUtf8()));
        BancodeDados outra;
        QCOMPARE(outra.findChild<QLineEdit *>("lineEdit_host")->text(), endereco);
        QCOMPARE(outra.findChild<QLineEdit *>("lineEdit_user")->text(), usuario);
        QCOMPARE(outra.findChild<QLineEdit *>("lineEdit_certificado")->text(), ca);
    }

    // Still shared after a restart; a removed account loses its open connection and gets no
    // new one; unshared, nothing listens on the address any more.
    void cicloDoServidor()
    {
        QVERIFY(sh("$2 start") != "falhou");
        BancodeDados d;
        RespostaModal resposta;
        QCOMPARE(conectar(d, "ana", senhaDaAna, ca), QString("Banco de dados conectado"));
        QVERIFY(sh("$2 remove-user ana") != "falhou");
        QVERIFY(!QSqlQuery(d.readBD()).exec("SELECT 1"));
        QCOMPARE(conectar(d, "ana", senhaDaAna, ca), QString("Erro ao conectar Banco de dados"));
        QVERIFY(sh("$2 unshare") != "falhou");
        conectar(d, "ana", senhaDaAna, ca);
        QCOMPARE(resposta.motivos(), QStringList({"O servidor recusou o usuário ana ou a senha.",
                                                  "Não foi possível alcançar o servidor em 127.0.0.2."}));
    }
};

QTEST_MAIN(TstCasa)
#include "tst_casa.moc"
