#!/usr/bin/env bash
# Takes a screenshot of every window of Finara, filled with the demo data,
# for the README: the program runs under Xvfb beside a throwaway database
# server of its own and is driven with the mouse and keyboard, as a person
# would. Needs a build (scripts/setup.sh) first.
#
#   scripts/screenshots.sh [OUTPUT_DIR]      (default docs/screenshots)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" != --dentro ]; then
    out=$(realpath -m "${1:-$here/docs/screenshots}")
    "$here/scripts/install-packages.sh" xvfb openbox xdotool imagemagick x11-utils
    mkdir -p "$out"
    exec "$here/tests/support/servidor-isolado.sh" "$0" --dentro "$out"
fi
out=$2
[ -n "${FINARA_SCREENSHOTS_TRACE:-}" ] && set -x

mariadb --no-defaults --default-character-set=utf8mb4 --socket="$FINARA_DB_SOCKET" vestara_gastos < "$here/scripts/demo-data.sql" >/dev/null

# Each engineer's own display, so that two runs at once do not meet.
export DISPLAY=${FINARA_SCREENSHOTS_DISPLAY:-:47}
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
sleep 1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$here/build/finara" >/dev/null 2>&1 &
app=$!

# The window with this exact title, once it is shown; its geometry in X, Y, W, H.
janela() { xdotool search --sync --onlyvisible --name "^$1\$" | tail -1; }
geometria() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
clica() { # window, x and y inside it; "2" as fourth argument double-clicks
    xdotool mousemove --window "$1" "$2" "$3" click --repeat "${4:-1}" --delay 120 1
    sleep 0.8
}
foto() { sleep 0.8; import -window root png:- | convert - -trim +repage "$out/$1.png"; }
fecha() { xdotool windowactivate --sync "$1" key --clearmodifiers Escape; sleep 0.6; }
# The message box with this title: photographed (unless the name is empty), then answered with a key.
caixa() { janela "$1" >/dev/null; [ -z "$2" ] || foto "$2"; xdotool key --clearmodifiers "$3"; sleep 0.6; }
# The main window's buttons are stacked in eleven equal rows.
botao() { geometria "$principal"; clica "$principal" $((WIDTH / 2)) $((11 + (HEIGHT - 22) * (2 * $1 + 1) / 22)); }
# The import dialog's two buttons, "Ler CSV" (0) and "Importar Dados" (1), sit
# below the notices and the account above the grid, which grow by a line when the file was
# imported before.
botaoImportacao() {
    geometria "$importacao"
    clica "$importacao" $((WIDTH - 67)) $((avisos + 75 + 31 * $1))
}
# "Ler CSV", then the file typed into the file dialog.
lerArquivo() {
    botaoImportacao 0
    janela "Abrir Arquivo" >/dev/null
    [ -z "${2:-}" ] || foto "$2"
    xdotool type --delay 20 "$1"
    xdotool key Return
    sleep 1
}
# The import dialog, large enough for a statement's columns and on the screen.
novaImportacao() {
    botao 2
    importacao=$(janela Dialog)
    xdotool windowsize "$importacao" 900 560 windowmove "$importacao" 190 80 sleep 0.5
    avisos=0
}

principal=$(janela "Finara — desconectado")
xdotool windowactivate --sync "$principal"

botao 0                               # Conectar BD
conexao=$(janela Dialog)
foto conexao
geometria "$conexao"
clica "$conexao" $((WIDTH - 45)) 30  # Conectar: the dialog closes once connected
janela "Finara — conectado a .*" >/dev/null
foto principal

botao 3                               # Cadastrar Categoria
categoria=$(janela Dialog)
foto categorias
clica "$categoria" 60 24              # the name field: a name that exists is refused
xdotool type --delay 20 mercado
geometria "$categoria"
clica "$categoria" $((WIDTH - 50)) 24 # Inserir
caixa Erro categoria-recusada Return
clica "$categoria" 120 70 2           # double-click the first category: asks first
caixa "Apagar Item" pergunta Escape
fecha "$categoria"

botao 1                               # Classificar Dados, at the size it opens with
classificar=$(janela Classificar)
foto classificacao
fecha "$classificar"

botao 7                               # Orçamento
orcamento=$(janela "Orçamento")
foto orcamento
fecha "$orcamento"

botao 8                               # Lançamentos, newest first
lancamentos=$(janela "Lançamentos")
foto lancamentos
fecha "$lancamentos"

botao 9                               # Contas
contas=$(janela "Contas")
foto contas
fecha "$contas"

botao 10                              # Compromissos: the instalments still to come
compromissos=$(janela "Compromissos")
foto compromissos
fecha "$compromissos"

botao 6                               # Regras, with the demo's rules
regras=$(janela "Regras de classificação")
foto regras
fecha "$regras"

botao 4                               # Analisar dados
relatorio=$(janela "Relatório Anual")
xdotool windowsize "$relatorio" 1240 760
sleep 0.5
foto relatorio
# Double-click last month's sum of "Lazer", the eighth row of the grid
# below the chart: an instalment there names its purchase.
clica "$relatorio" 300 580 2
detalhe=$(xdotool search --sync --onlyvisible --name "^Detalhes para" | tail -1)
xdotool windowmove "$detalhe" 420 160
foto detalhe
fecha "$detalhe"
fecha "$relatorio"

# Last, since they add the samples' expenses to the data the other windows show.
novaImportacao
lerArquivo "$here/samples/extrato-exemplo.csv" arquivo
foto importacao
# Two more lines on top, the second with a day February does not have.
arquivos=$(mktemp -d)
ruim=$arquivos/lancamentos-a-mao.csv
printf '27/02/2026;Padaria Santa Luzia;18,40;Pães\n31/02/2026;Drogasil;R$ 45,90;Remédios\n' >"$ruim"
lerArquivo "$ruim"
botaoImportacao 1
caixa "Linhas repetidas" "" Return    # some of the sample's rows are in the demo data
caixa Erro importacao-recusada Return
clica "$importacao" 100 133 2          # the refused row: removed after a Yes
caixa "Confirmar Remoção" "" Return
botaoImportacao 1
caixa "Linhas repetidas" "" Return
caixa "Importação concluída" importacao-resumo Return

novaImportacao                          # a bank's OFX
lerArquivo "$here/samples/extrato-exemplo.ofx"
foto importacao-ofx
botaoImportacao 1
caixa "Importação concluída" "" Return

novaImportacao                          # the OFX again: every row is repeated
lerArquivo "$here/samples/extrato-exemplo.ofx"
foto importacao-repetida
avisos=22                             # the notice that it was imported
botaoImportacao 1
caixa "Linhas repetidas" repetidas Escape
# A header no bank layout has: its columns are asked for.
desconhecido=$arquivos/cartao.csv
printf 'Quando,Estabelecimento,Quanto,Observação,Cartão\n03/11/2026,Feira da Vila,"-64,50",Frutas,final 1234\n' \
    >"$desconhecido"
printf '05/11/2026,Chaveiro Central,"-35,00",Cópia de chave,final 1234\n' >>"$desconhecido"
lerArquivo "$desconhecido"
foto mapeamento
fecha "$(janela "Colunas do extrato")"
caixa Erro "" Return
fecha "$importacao"
rm -r "$arquivos"

botao 5                               # Importações: undoing the latest asks first
importacoes=$(janela "Importações")
foto importacoes
clica "$importacoes" 100 50
geometria "$importacoes"
clica "$importacoes" $((WIDTH - 80)) 24    # Desfazer importação
caixa "Desfazer importação" desfazer Escape
fecha "$importacoes"

kill $app
echo "screenshots: written to $out"
