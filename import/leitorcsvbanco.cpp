#include "import/leitorcsvbanco.h"

#include "import/layoutextrato.h"

namespace {

QStringList semVaziosNoFim(QStringList campos)
{
    while (!campos.isEmpty() && campos.last().isEmpty())
        campos.removeLast();
    return campos;
}

// The first of the columns that is not empty.
QString primeiro(const QStringList &campos, const QVector<int> &colunas)
{
    for (int c : colunas) {
        if (!campos.value(c).isEmpty())
            return campos.value(c);
    }
    return QString();
}

QString juntos(const QStringList &campos, const QVector<int> &colunas)
{
    QStringList partes;
    for (int c : colunas) {
        if (!campos.value(c).isEmpty() && !partes.contains(campos.value(c)))
            partes << campos.value(c);
    }
    return partes.join(QStringLiteral(" - "));
}

int colunasNecessarias(const ColunasExtrato &c)
{
    int maior = qMax(qMax(c.data, c.valor), qMax(qMax(c.entrada, c.saida), c.identificador));
    for (int f : c.fornecedor + c.descricao)
        maior = qMax(maior, f);
    return maior + 1;
}

// An empty pattern, which would match everything, stands for no pattern.
bool casa(const QRegularExpression &padrao, const QString &texto)
{
    return !padrao.pattern().isEmpty() && padrao.match(texto).hasMatch();
}

QString fornecedorDe(const QString &texto, const LayoutExtrato &layout)
{
    if (!casa(layout.fornecedorNoTexto, texto))
        return semParcela(texto);
    return semParcela(layout.fornecedorNoTexto.match(texto).captured(QStringLiteral("f")).trimmed());
}

// The expense in cents, money out positive; false when the row's amount does not read.
bool despesa(const QStringList &campos, const LayoutExtrato &layout, qint64 *centavos)
{
    const ColunasExtrato &c = layout.colunas;
    if (c.valor >= 0) {
        if (!centavosDoValor(campos.value(c.valor), layout.notacao, centavos))
            return false;
        if (layout.sinal == Sinal::SaidaNegativa)
            *centavos = -*centavos;
        return true;
    }
    const QString entrada = campos.value(c.entrada), saida = campos.value(c.saida);
    qint64 entrou = 0, saiu = 0;
    if (entrada.isEmpty() && saida.isEmpty())
        return false;
    if (!entrada.isEmpty() && !centavosDoValor(entrada, layout.notacao, &entrou))
        return false;
    if (!saida.isEmpty() && !centavosDoValor(saida, layout.notacao, &saiu))
        return false;
    *centavos = qAbs(saiu) - qAbs(entrou);
    return true;
}

QString erroNaLinha(int linha, const QString &oQue, const QString &texto, const LayoutExtrato &layout)
{
    return QStringLiteral("Linha %1: %2 \"%3\" não segue o layout %4.").arg(linha + 1).arg(oQue, texto, layout.nome);
}

} // namespace

QString semParcela(QString fornecedor)
{
    static const QRegularExpression parcela(QStringLiteral("\\s*-?\\s*parcela\\s+\\d+\\s*/\\s*\\d+\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!fornecedor.contains(QLatin1String("parcela"), Qt::CaseInsensitive))
        return fornecedor;
    return fornecedor.remove(parcela);
}

QStringList camposCsv(const QString &linha, QChar separador)
{
    QStringList campos;
    QString campo;
    bool entreAspas = false;
    for (int i = 0; i < linha.size(); ++i) {
        const QChar c = linha.at(i);
        if (c == QLatin1Char('"')) {
            if (entreAspas && i + 1 < linha.size() && linha.at(i + 1) == QLatin1Char('"'))
                campo += linha.at(++i);
            else
                entreAspas = !entreAspas;
        } else if (c == separador && !entreAspas) {
            campos << campo.trimmed();
            campo.clear();
        } else {
            campo += c;
        }
    }
    return campos << campo.trimmed();
}

bool ehCabecalho(const QString &linha, const LayoutExtrato &layout)
{
    const QStringList campos = semVaziosNoFim(camposCsv(linha, layout.separador));
    if (campos.size() != layout.cabecalho.size())
        return false;
    for (int i = 0; i < campos.size(); ++i) {
        if (campos.at(i).compare(layout.cabecalho.at(i), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

LeituraExtrato leCsvDoBanco(const QStringList &linhas, int cabecalho, const LayoutExtrato &layout)
{
    LeituraExtrato leitura;
    leitura.layout = layout.nome;
    const ColunasExtrato &c = layout.colunas;
    for (int n = cabecalho + 1; n < linhas.size(); ++n) {
        const QString &linha = linhas.at(n);
        if (linha.trimmed().isEmpty())
            continue;
        if (casa(layout.fim, linha))
            break;
        const QStringList campos = camposCsv(linha, layout.separador);
        const bool continua = layout.continuacoes && campos.value(c.data).isEmpty();
        if (continua && !leitura.lancamentos.isEmpty()) {
            QStringList texto = campos;
            texto.removeAll(QString());
            leitura.lancamentos.last().descricao += QStringLiteral(" - ") + texto.join(QLatin1Char(' '));
            continue;
        }
        if (campos.size() < colunasNecessarias(c)) {
            leitura.erro = erroNaLinha(n, QStringLiteral("a linha"), linha, layout);
            break;
        }
        LancamentoExtrato lancamento;
        lancamento.descricao = juntos(campos, c.descricao);
        if (casa(layout.ignorar, lancamento.descricao)) {
            ++leitura.ignoradas;
            continue;
        }
        lancamento.data = dataNaGrade(campos.at(c.data), layout.formatoData);
        qint64 centavos = 0;
        if (lancamento.data.isNull()) {
            leitura.erro = erroNaLinha(n, QStringLiteral("a data"), campos.at(c.data), layout)
                           + QStringLiteral(" Esperava uma data %1.").arg(layout.formatoData);
            break;
        }
        if (!despesa(campos, layout, &centavos)) {
            leitura.erro = erroNaLinha(n, QStringLiteral("o valor"), linha, layout);
            break;
        }
        lancamento.valor = valorNaGrade(centavos);
        lancamento.fornecedor = fornecedorDe(primeiro(campos, c.fornecedor), layout);
        lancamento.identificador = campos.value(c.identificador);
        leitura.lancamentos << lancamento;
    }
    if (leitura.erro.isEmpty() && leitura.lancamentos.isEmpty() && leitura.ignoradas == 0)
        leitura.erro = QStringLiteral("O arquivo tem o cabeçalho do layout %1, mas nenhum lançamento.").arg(layout.nome);
    if (!leitura.erro.isEmpty())
        leitura.lancamentos.clear();
    return leitura;
}
