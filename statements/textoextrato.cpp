#include "statements/textoextrato.h"

#include <QByteArray>
#include <QTextCodec>

#include <algorithm>

namespace {

const int tamanhoDoTrecho = 80;

// Our own layout: the field trimmed, then every quote removed, so blanks
// inside quotes stay.
QStringList camposSemAspas(const QString &linha, QChar separador, int maximo)
{
    QStringList campos = linha.split(separador);
    if (maximo > 0 && campos.size() > maximo) {
        campos.erase(campos.begin() + maximo, campos.end());
        campos.last() = linha.section(separador, maximo - 1);
    }
    for (QString &campo : campos) {
        campo = std::move(campo).trimmed();
        campo.remove(QLatin1Char('"'));
    }
    return campos;
}

QStringList camposEntreAspas(const QString &linha, QChar separador, int maximo)
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
        } else if (c == separador && !entreAspas && campos.size() + 1 != maximo) {
            campos << campo.trimmed();
            campo.clear();
        } else {
            campo += c;
        }
    }
    return campos << campo.trimmed();
}

} // namespace

QString textoDoExtrato(const QByteArray &bytes)
{
    if (QTextCodec *marcado = QTextCodec::codecForUtfText(bytes, nullptr))
        return marcado->toUnicode(bytes);
    QTextCodec::ConverterState estado;
    const QString utf8 = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &estado);
    if (estado.invalidChars == 0 && estado.remainingChars == 0)
        return utf8;
    return QTextCodec::codecForName("windows-1252")->toUnicode(bytes);
}

QStringList linhasDoExtrato(const QString &texto)
{
    QStringList linhas;
    int inicio = 0;
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        linhas << texto.mid(inicio, i - inicio);
        if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('\n'))
            ++i;
        inicio = i + 1;
    }
    if (inicio < texto.size())
        linhas << texto.mid(inicio);
    return linhas;
}

QStringList camposDaLinha(const QString &linha, QChar separador, Aspas aspas, int maximo)
{
    return aspas == Aspas::Removidas ? camposSemAspas(linha, separador, maximo)
                                     : camposEntreAspas(linha, separador, maximo);
}

bool longaDemais(const QString &linha, int maximo)
{
    // Only a line longer in UTF-16 units can be longer in characters, so the
    // surrogates are counted on those alone.
    return linha.size() > maximo
           && linha.size() - std::count_if(linha.begin(), linha.end(), [](QChar c) { return c.isLowSurrogate(); })
                  > maximo;
}

int linhaLongaDemais(const QStringList &linhas, int maximo)
{
    const auto primeira =
        std::find_if(linhas.begin(), linhas.end(), [maximo](const QString &linha) { return longaDemais(linha, maximo); });
    return primeira == linhas.end() ? -1 : int(primeira - linhas.begin());
}

QString trecho(const QString &texto)
{
    if (texto.size() <= tamanhoDoTrecho)
        return texto;
    // Never half of a character outside the basic plane.
    const int corte = texto.at(tamanhoDoTrecho - 1).isHighSurrogate() ? tamanhoDoTrecho - 1 : tamanhoDoTrecho;
    return texto.left(corte) + QStringLiteral("…");
}
