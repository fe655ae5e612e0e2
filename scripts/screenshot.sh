#!/usr/bin/env bash
# Starts the window under Xvfb on the demo database, runs a consult by the keyboard as an operator would and
# saves a screenshot (docs/janela.png unless another path is given); then runs the check and saves its window
# beside it (verificacao.png).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/app/zorla-exporta ] || bash scripts/build.sh
demo=$PWD/build/demo-shot
rm -rf "$demo" && mkdir -p "$demo"
# This year's data, so the default period (the current month) has rows.
ZORLA_GERA_DADOS=build/db/zorla-gera-dados bash db/cria-banco-demo.sh "$demo/ZORLA.FDB" --ano "$(date +%Y)" >/dev/null
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/ZORLA.FDB" >build/app/dbxconnections.ini
out=$(realpath -m "${1:-docs/janela.png}")
export OUT=$out VERIFICACAO=$(dirname "$out")/verificacao.png
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    build/app/zorla-exporta &
    pid=$!
    for _ in $(seq 50); do
        win=$(xdotool search --name "ZORLA - Exporta" 2>/dev/null | head -1) && [ -n "$win" ] && break
        sleep 0.2
    done
    sleep 1
    xdotool windowfocus --sync "$win"
    xdotool key --window "$win" Tab
    xdotool type --window "$win" 0001
    xdotool key --window "$win" alt+c
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$win")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$OUT"
    xdotool key --window "$win" alt+v
    for _ in $(seq 50); do
        ver=$(xdotool search --name "Verificação do período" 2>/dev/null | head -1) && [ -n "$ver" ] && break
        sleep 0.2
    done
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$ver")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$VERIFICACAO"
    kill $pid
'
echo "screenshots em $out e $(dirname "$out")/verificacao.png"
