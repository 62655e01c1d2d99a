#include "import/leitordeextrato.h"

#include "import/conversaoextrato.h"
#include "import/layoutextrato.h"
#include "import/leitorcsvbanco.h"
#include "import/mapeamentocolunas.h"
#include "import/mapeamentosalvo.h"
#include "import/preenchimentoembloco.h"
#include "import/reconhecimentoextrato.h"

#include <QFile>
#include <QFileInfo>
#include <QTableWidget>

namespace {

LeituraExtrato proprio()
{
    LeituraExtrato leitura;
    leitura.proprio = true;
    return leitura;
}

LeituraExtrato comErro(const QString &erro)
{
    LeituraExtrato leitura;
    leitura.erro = erro;
    return leitura;
}

} // namespace

LeitorDeExtrato::LeitorDeExtrato(QWidget *janela)
    : m_janela(janela)
{
}

LeituraExtrato LeitorDeExtrato::le(const QString &caminho) const
{
    // What cannot be opened, or is not a regular file (a pipe would block the
    // window until something writes to it, /dev/zero never ends), our own
    // reading turns down as it always has.
    QFile arquivo(caminho);
    if (!QFileInfo(caminho).isFile() || !arquivo.open(QIODevice::ReadOnly))
        return proprio();
    QByteArray bytes = arquivo.read(inicioQueDecide);
    const Reconhecimento reconhecimento = reconheceExtrato(bytes, arquivo.atEnd());
    if (reconhecimento.tipo == TipoDeExtrato::Recusado)
        return comErro(reconhecimento.erro);
    bytes += arquivo.readAll();
    const bool proprioDoFinara = reconhecimento.tipo == TipoDeExtrato::Proprio;
    if (arquivo.error() != QFileDevice::NoError)
        return proprioDoFinara ? proprio()
                               : comErro(QStringLiteral("O arquivo não pôde ser lido até o fim: ") + arquivo.errorString());
    LeituraExtrato leitura = proprioDoFinara ? proprio() : leDoBanco(bytes, reconhecimento);
    leitura.bytes = bytes;
    leitura.inteiro = true;
    return leitura;
}

LeituraExtrato LeitorDeExtrato::leDoBanco(const QByteArray &bytes, const Reconhecimento &reconhecimento) const
{
    if (reconhecimento.tipo == TipoDeExtrato::Mapeavel)
        return comColunasEscolhidas(linhasDoExtrato(textoDoExtrato(bytes)), reconhecimento.cabecalho,
                                    reconhecimento.separador);
    return leExtrato(bytes, reconhecimento);
}

LeituraExtrato LeitorDeExtrato::comColunasEscolhidas(const QStringList &linhas, int cabecalho, QChar separador) const
{
    LayoutExtrato layout;
    if (MapeamentoSalvo::busca(linhas.at(cabecalho), &layout))
        return leCsvDoBanco(linhas, cabecalho, layout);
    MapeamentoColunas dialogo(linhas, cabecalho, separador, m_janela);
    if (dialogo.exec() != QDialog::Accepted)
        return comErro(QStringLiteral("As colunas do arquivo não foram escolhidas; nada foi lido."));
    layout = dialogo.layout();
    MapeamentoSalvo::grava(linhas.at(cabecalho), layout);
    return leCsvDoBanco(linhas, cabecalho, layout);
}

void LeitorDeExtrato::acrescentaNaGrade(QTableWidget *grade, const QVector<LancamentoExtrato> &lancamentos)
{
    preencheEmBloco(grade, lancamentos.size(), [&](int linha) {
        const LancamentoExtrato &l = lancamentos.at(linha);
        auto *data = new QTableWidgetItem(l.data);
        if (!l.identificador.isEmpty())
            data->setData(Qt::UserRole, l.identificador);
        grade->setItem(linha, 0, data);
        grade->setItem(linha, 1, new QTableWidgetItem(l.fornecedor));
        grade->setItem(linha, 2, new QTableWidgetItem(l.valor));
        grade->setItem(linha, 3, new QTableWidgetItem(l.descricao));
    });
}
