#!/usr/bin/env bash
# Shows the window under Xvfb and a real window manager (openbox) on the demo database, works it by the keyboard as
# an operator would, and saves each screen into a folder (docs/ unless another is given):
#   janela-meses.png      the month list open
#   janela.png            the consult of November (whose cash/bank movements lack two accounts)
#   verificacao.png       the check of the same period
#   exportacao.png        the box at the end of its export, with the pendências
#   conferencia.png       "Conferir arquivos…" on the files of that export
#   pergunta.png          November of the year before into the same folder: the question before replacing
#   comparacao.png        November's export compared with one made after the office set the missing accounts and
#                         fixed a sale's value (where the window has "Comparar exportações…")
#   erro-conexao.png      the window started on a database file that is not there
# ZORLA_BUILD names another build tree (an older version, for its screens); the demo database is this tree's.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/app/zorla-exporta ] || bash scripts/build.sh
command -v openbox >/dev/null || bash scripts/install-deps.sh
programa=$(realpath "${ZORLA_BUILD:-build}/app/zorla-exporta")
destino=$(realpath -m "${1:-docs}")
mkdir -p "$destino"
demo=$PWD/build/demo-shot
rm -rf "$demo" && mkdir -p "$demo/saida"
ano=$(date +%Y)
ZORLA_GERA_DADOS=build/db/zorla-gera-dados bash db/cria-banco-demo.sh "$demo/ZORLA.FDB" --ano "$ano" >/dev/null
# November exported, then again from a copy of the database the office corrected: the accounts it lacked set, a
# sale's value fixed. The window compares the two.
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/ZORLA.FDB" >"$demo/antes.ini"
build/app/zorla-exporta-cli --empresa 1 --codigo 0001 --mes 11 --ano "$ano" --saida "$demo/novembro" \
    --config "$demo/antes.ini" >/dev/null 2>&1 || [ $? -eq 3 ]
cp "$demo/ZORLA.FDB" "$demo/CORRIGIDO.FDB"
printf "CONNECT '%s' USER 'SYSDBA';\nUPDATE MOVBANCARIO SET CREDORA = '1130001' WHERE CREDORA = '';\n\
UPDATE MOVBANCARIO SET DEVEDORA = '1120003' WHERE DEVEDORA = '';\n\
UPDATE MOVESTOQUE SET VALOR = VALOR + 100 WHERE CODMOVESTOQUE = (SELECT MIN(CODMOVESTOQUE) FROM MOVESTOQUE\
 WHERE TIPOMOVIMENTO = 'S' AND CODEMPRESA = 1 AND DATAMOVIMENTO BETWEEN '%s-11-01' AND '%s-11-30');\nCOMMIT;\n" \
    "$demo/CORRIGIDO.FDB" "$ano" "$ano" | isql-fb -q >/dev/null
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/CORRIGIDO.FDB" >"$demo/corrigido.ini"
build/app/zorla-exporta-cli --empresa 1 --codigo 0001 --mes 11 --ano "$ano" --saida "$demo/novembro-corrigido" \
    --config "$demo/corrigido.ini" >/dev/null 2>&1
# The program in a folder of its own, its connection file beside it, as an office installs it.
cp "$programa" "$demo/zorla-exporta"
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/ZORLA.FDB" >"$demo/dbxconnections.ini"
export DESTINO=$destino DEMO=$demo ANO=$ano
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    openbox >/dev/null 2>&1 &
    sleep 1
    # The first window whose name matches, once it has been shown for a second.
    espera() {
        local w=
        for _ in $(seq 50); do
            w=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$w" ] && break
            sleep 0.2
        done
        sleep 1
        echo "$w"
    }
    # The whole screen, so that an open list or a box over the window is in it, less the empty root around.
    foto() { import -window root png:- | convert png:- -trim +repage "$DESTINO/$1"; }
    # Each box the run shows on its way (a movement without an account) is closed, as the operator would.
    fimDaExportacao() {
        for _ in $(seq 60); do
            xdotool search --name "gerando" >/dev/null 2>&1 || break
            local caixa
            caixa=$(xdotool search --name "^ZORLA$" 2>/dev/null | head -1) || true
            [ -n "$caixa" ] && xdotool windowactivate --sync "$caixa" key Return
            sleep 0.7
        done
        sleep 1
    }
    exporta() {
        xdotool key alt+e
        sleep 0.5
        xdotool key ctrl+a
        xdotool type "$DEMO/saida"
        # Enter goes on to "Continuar", and the space presses it.
        xdotool key Return space
        sleep 1.5
    }
    "$DEMO/zorla-exporta" &
    pid=$!
    win=$(espera "ZORLA - Exporta")
    xdotool windowactivate --sync "$win"
    xdotool key Tab
    xdotool type 0001
    xdotool key Tab alt+Down
    sleep 0.5
    xdotool key Up
    sleep 0.5
    foto janela-meses.png
    xdotool key Return alt+c
    sleep 2
    foto janela.png
    xdotool key alt+v
    verificacao=$(espera "Verificação do período")
    foto verificacao.png
    xdotool windowactivate --sync "$verificacao" key Escape
    xdotool windowactivate --sync "$win"
    exporta
    fimDaExportacao
    foto exportacao.png
    xdotool windowactivate --sync "$(xdotool search --name "^ZORLA$" | head -1)" key Return
    # The file chooser goes into the typed folder; Ctrl+A in its list chooses every exported file there.
    xdotool windowactivate --sync "$win" key alt+a
    sleep 0.5
    xdotool key c
    sleep 2
    xdotool type "$DEMO/saida"
    xdotool key Return
    sleep 0.5
    xdotool key shift+Tab ctrl+a Return
    conferencia=$(espera "Conferência dos arquivos")
    foto conferencia.png
    xdotool windowactivate --sync "$conferencia" key Escape
    xdotool windowactivate --sync "$win"
    # The year field, by its place in the window: the grid keeps Tab for its cells.
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove $((X + 472)) $((Y + 80)) click --repeat 3 1
    xdotool key ctrl+a
    xdotool type $((ANO - 1))
    xdotool key alt+c
    sleep 2
    exporta
    foto pergunta.png
    # Not replaced: the default answer.
    xdotool key Return
    fimDaExportacao
    xdotool search --name "^ZORLA$" >/dev/null 2>&1 && xdotool key Return
    # "Arquivo" → "Comparar exportações…", where the window has it: the two folders typed, "Comparar".
    xdotool windowactivate --sync "$win" key alt+a
    sleep 0.5
    xdotool key m
    dialogo=$(espera "Comparar exportações")
    if [ -n "$dialogo" ]; then
        xdotool type "$DEMO/novembro"
        xdotool key Tab Tab
        xdotool type "$DEMO/novembro-corrigido"
        xdotool key Return
        comparacao=$(espera "Comparação das exportações")
        foto comparacao.png
        xdotool windowactivate --sync "$comparacao" key Escape
    else
        xdotool key Escape
    fi
    kill $pid
    wait $pid || true
    printf "[EMPRESA]\r\nDatabase=/var/lib/zorla/ZORLA.FDB\r\n" >"$DEMO/dbxconnections.ini"
    "$DEMO/zorla-exporta" &
    pid=$!
    espera "^Zorla Exporta$" >/dev/null
    foto erro-conexao.png
    kill $pid
'
echo "telas em $destino: janela-meses, janela, verificacao, exportacao, conferencia, pergunta, comparacao e erro-conexao (.png)"
