#!/usr/bin/env bash
# Starts the window under Xvfb on the demo database, runs a consult by the keyboard as an operator would and
# saves a screenshot (docs/janela.png unless another path is given); then runs the check and saves its window
# beside it (verificacao.png); then "Conferir arquivos…" on the files of an export of the same month
# (conferencia.png); last, the window started on a database file that is not there, and the error it shows
# (erro-conexao.png).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/app/zorla-exporta ] || bash scripts/build.sh
demo=$PWD/build/demo-shot
rm -rf "$demo" && mkdir -p "$demo"
# This year's data, so the default period (the current month) has rows.
ZORLA_GERA_DADOS=build/db/zorla-gera-dados bash db/cria-banco-demo.sh "$demo/ZORLA.FDB" --ano "$(date +%Y)" >/dev/null
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/ZORLA.FDB" >build/app/dbxconnections.ini
out=$(realpath -m "${1:-docs/janela.png}")
mkdir -p "$demo/saida"
build/app/zorla-exporta-cli --empresa 1 --codigo 0001 --mes "$(date +%-m)" --ano "$(date +%Y)" --saida "$demo/saida" \
    >/dev/null 2>&1 || [ $? -eq 3 ]
export OUT=$out VERIFICACAO=$(dirname "$out")/verificacao.png ERRO=$(dirname "$out")/erro-conexao.png
export CONFERENCIA=$(dirname "$out")/conferencia.png SAIDA=$demo/saida
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    # The first window whose name matches, once it has been shown for a second.
    espera() {
        local w
        for _ in $(seq 50); do
            w=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$w" ] && break
            sleep 0.2
        done
        sleep 1
        echo "$w"
    }
    foto() {
        eval "$(xdotool getwindowgeometry --shell "$1")"
        import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$2"
    }
    build/app/zorla-exporta &
    pid=$!
    win=$(espera "ZORLA - Exporta")
    xdotool windowfocus --sync "$win"
    xdotool key --window "$win" Tab
    xdotool type --window "$win" 0001
    xdotool key --window "$win" alt+c
    sleep 2
    foto "$win" "$OUT"
    xdotool key --window "$win" alt+v
    verificacao=$(espera "Verificação do período")
    foto "$verificacao" "$VERIFICACAO"
    xdotool windowfocus --sync "$verificacao" key Escape
    # The file chooser goes into the typed folder; Ctrl+A in its list chooses every exported file there.
    xdotool windowfocus --sync "$win" key alt+a
    sleep 0.5
    xdotool key c
    sleep 2
    xdotool type "$SAIDA"
    xdotool key Return
    sleep 0.5
    xdotool key shift+Tab ctrl+a Return
    foto "$(espera "Conferência dos arquivos")" "$CONFERENCIA"
    kill $pid
    wait $pid || true
    printf "[EMPRESA]\r\nDatabase=/var/lib/zorla/ZORLA.FDB\r\n" >build/app/dbxconnections.ini
    build/app/zorla-exporta &
    pid=$!
    foto "$(espera "^Zorla Exporta$")" "$ERRO"
    kill $pid
'
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/ZORLA.FDB" >build/app/dbxconnections.ini
echo "screenshots em $out, $(dirname "$out")/verificacao.png, conferencia.png e erro-conexao.png"
