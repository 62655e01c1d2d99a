#include "import/contadaimportacao.h"

#include "accounts/dialogoconta.h"
#include "accounts/tabelacontas.h"

#include <QComboBox>
#include <QPushButton>

namespace {

const int semConta = 0;
const int aCriar = -1;
const int papelDoNome = Qt::UserRole + 1;

} // namespace

ContaDaImportacao::ContaDaImportacao(QComboBox *caixa, QPushButton *nova, QWidget *janela)
    : QObject(caixa)
    , m_caixa(caixa)
    , m_janela(janela)
{
    lista();
    connect(nova, &QPushButton::clicked, this, &ContaDaImportacao::novaConta);
    connect(caixa, qOverload<int>(&QComboBox::currentIndexChanged), this, &ContaDaImportacao::mudou);
}

ContaDaImportacao::~ContaDaImportacao() = default;

// Without a connection the box offers no account, and the import goes without one.
void ContaDaImportacao::lista()
{
    const QSignalBlocker bloqueio(m_caixa);
    const int antes = escolhida();
    m_caixa->clear();
    m_caixa->addItem(QStringLiteral("(sem conta)"), semConta);
    const Resultado<QVector<Conta>> contas = TabelaContas::listar();
    for (const Conta &conta : contas.ok() ? contas.valor() : QVector<Conta>()) {
        m_caixa->addItem(QStringLiteral("%1 (%2)").arg(conta.nome, descricaoDoTipo(conta.tipo).nome), conta.id);
        m_caixa->setItemData(m_caixa->count() - 1, conta.nome, papelDoNome);
    }
    if (m_sugerida)
        m_caixa->addItem(QStringLiteral("%1 (nova, %2)").arg(m_sugerida->nome, descricaoDoTipo(m_sugerida->tipo).nome),
                         aCriar);
    seleciona(antes);
}

void ContaDaImportacao::seleciona(int idConta)
{
    m_caixa->setCurrentIndex(qMax(0, m_caixa->findData(idConta)));
}

void ContaDaImportacao::arquivoLido(const QString &identidade, const std::optional<Conta> &sugerida)
{
    m_identidade = identidade;
    const Resultado<std::optional<int>> lembrada = TabelaContas::doArquivo(identidade);
    if (lembrada.ok() && lembrada.valor()) {
        m_sugerida.reset();
        lista();
        seleciona(*lembrada.valor());
    } else if (sugerida) {
        // An account of that name already there is that account.
        const int existente = m_caixa->findData(sugerida->nome, papelDoNome);
        m_sugerida = existente > 0 ? std::nullopt : sugerida;
        lista();
        seleciona(existente > 0 ? m_caixa->itemData(existente).toInt() : aCriar);
    }
    emit mudou();
}

int ContaDaImportacao::escolhida() const
{
    return m_caixa->count() ? m_caixa->currentData().toInt() : semConta;
}

Resultado<int> ContaDaImportacao::gravar()
{
    int idConta = escolhida();
    if (idConta == aCriar) {
        const Resultado<int> criada = TabelaContas::criar(*m_sugerida);
        if (!criada.ok())
            return criada;
        idConta = criada.valor();
    }
    if (idConta == semConta || m_identidade.isEmpty())
        return idConta;
    const Resultado<> lembrada = TabelaContas::lembraArquivo(m_identidade, idConta);
    return lembrada.ok() ? Resultado<int>(idConta) : Resultado<int>(lembrada.motivo());
}

void ContaDaImportacao::novaConta()
{
    DialogoConta dialogo(m_sugerida.value_or(Conta()), m_janela);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    if (m_sugerida && m_sugerida->nome == dialogo.conta().nome)
        m_sugerida.reset();
    lista();
    seleciona(dialogo.conta().id);
}
