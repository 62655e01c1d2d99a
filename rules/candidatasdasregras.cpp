#include "rules/candidatasdasregras.h"

#include <QHash>

#include <algorithm>

namespace {

// Stands for a character that might equal any other under the collation.
const char16_t qualquer = 0xFFFF;

// The server's LIKE compares character by character, case and accents
// aside: a character whose compatibility form without marks is one
// printable ASCII character is folded to it; anything else (ligatures,
// symbols, ignorable controls) may equal anything.
char16_t dobraCaractere(uint codigo)
{
    if (codigo >= 0x20 && codigo < 0x7F)
        return QChar(codigo).toCaseFolded().unicode();
    static QHash<uint, char16_t> vistos;
    const auto visto = vistos.constFind(codigo);
    if (visto != vistos.constEnd())
        return *visto;
    QString base;
    for (const QChar c : QString::fromUcs4(&codigo, 1).normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing)
            base += c.toCaseFolded();
    }
    const bool ascii = base.size() == 1 && base.at(0).unicode() >= 0x20 && base.at(0).unicode() < 0x7F;
    return vistos.insert(codigo, ascii ? base.at(0).unicode() : qualquer).value();
}

} // namespace

CandidatasDasRegras::CandidatasDasRegras(const QList<Regra> &regras)
    : m_ids(regras.size())
{
    for (const Regra &regra : regras) {
        m_padroes << (regra.curingas ? pedacos(regra.padrao) : QVector<Dobrado> {dobra(regra.padrao)});
        m_campos << descricaoDoCampo(regra.campo);
    }
}

void CandidatasDasRegras::acrescenta(int idGasto, const QString &fornecedor, const QString &descricao)
{
    const Dobrado doFornecedor = dobra(fornecedor), daDescricao = dobra(descricao);
    for (int i = 0; i < m_padroes.size(); ++i) {
        const DescricaoDoCampo &campo = m_campos.at(i);
        if ((campo.noFornecedor && podem(m_padroes.at(i), doFornecedor))
            || (campo.naDescricao && podem(m_padroes.at(i), daDescricao)))
            m_ids[i] << idGasto;
    }
}

// One character per code point, as the server counts them.
CandidatasDasRegras::Dobrado CandidatasDasRegras::dobra(const QString &texto)
{
    Dobrado dobrado;
    for (const uint codigo : texto.toUcs4())
        acrescentaLetra(dobrado, dobraCaractere(codigo));
    return dobrado;
}

void CandidatasDasRegras::acrescentaLetra(Dobrado &dobrado, char16_t letra)
{
    dobrado.letras << letra;
    if (letra == qualquer)
        dobrado.temQualquer = true;
    else
        dobrado.mascara |= quint64(1) << (letra & 63);
}

// The runs between the wildcards "%" of a pattern LIKE reads as the
// classification's filter does, between a "%" before and after it: "_" is
// any one character, "\" makes the next one plain, and a "\" at the end
// makes the "%" after the pattern plain. Every run must be somewhere in a
// text the pattern matches.
QVector<CandidatasDasRegras::Dobrado> CandidatasDasRegras::pedacos(const QString &padrao)
{
    QVector<Dobrado> lista(1);
    const QVector<uint> codigos = padrao.toUcs4();
    for (int i = 0; i < codigos.size(); ++i) {
        const uint codigo = codigos.at(i);
        if (codigo == '%') {
            lista.append(Dobrado());
        } else if (codigo == '_') {
            acrescentaLetra(lista.last(), qualquer);
        } else {
            const bool escapado = codigo == '\\';
            const uint letra = escapado ? (++i < codigos.size() ? codigos.at(i) : uint('%')) : codigo;
            acrescentaLetra(lista.last(), dobraCaractere(letra));
        }
    }
    return lista;
}

bool CandidatasDasRegras::podem(const QVector<Dobrado> &pedacos, const Dobrado &texto)
{
    return std::all_of(pedacos.begin(), pedacos.end(), [&](const Dobrado &pedaco) { return pode(pedaco, texto); });
}

bool CandidatasDasRegras::pode(const Dobrado &padrao, const Dobrado &texto)
{
    // Quickly out when a plain character of the pattern is nowhere in the text.
    if (!texto.temQualquer && (padrao.mascara & ~texto.mascara) != 0)
        return false;
    const int n = padrao.letras.size();
    for (int inicio = 0; inicio + n <= texto.letras.size(); ++inicio) {
        int j = 0;
        while (j < n && (padrao.letras.at(j) == texto.letras.at(inicio + j) || padrao.letras.at(j) == qualquer
                         || texto.letras.at(inicio + j) == qualquer))
            ++j;
        if (j == n)
            return true;
    }
    return false;
}
