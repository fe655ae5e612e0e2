#!/usr/bin/env bash
# The command-line export against the floor of any export (its three queries fetched and discarded), on two
# databases: 50,000 sales + 50,000 purchases + 100,000 cash/bank movements of March 2026, and a million documents
# (900,000 / 100,000 / 100,000) of March 2008. Runs interleaved; prints for each the median wall time of both,
# their ratio, the peak memory of both and the bytes of row data fetched. Then the window on the million.
#   bench/run.sh [RUNS]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
bash scripts/build.sh >/dev/null
cmake --build build -j2 --target zorla-exporta-cli piso_fetch bench_janela >/dev/null
work=build/bench-dados
mkdir -p "$work"

gera() {  # FILE ARGS...: the database, built once
    local db=$1
    shift
    [ -f "$db" ] || bash bench/gera_bench.sh "$db" "$@"
}
gera "$work/b50k.fdb" 50000 50000 100000 2026
gera "$work/b1m.fdb" 1000000

mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
maximo() { sort -n | tail -n 1; }

medir() {  # LABEL DB MES ANO
    local rotulo=$1 db=$2 mes=$3 ano=$4 ini=$work/$1.ini saida=$work/$1-saida t=$work/tempos
    printf '[EMPRESA]\nDatabase=%s\n' "$PWD/$db" >"$ini"
    mkdir -p "$saida"
    : >"$t.piso"
    : >"$t.export"
    local bytes=0
    for ((i = 0; i < runs; i++)); do
        bytes=$(/usr/bin/time -f "%e %M" -a -o "$t.piso" build/bench/piso_fetch "$PWD/$db" "$mes" "$ano" 1 |
            awk '/bytes de dados/ { print $4 }')
        /usr/bin/time -f "%e %M" -a -o "$t.export" build/app/zorla-exporta-cli --empresa 1 --codigo 0001 \
            --mes "$mes" --ano "$ano" --saida "$saida" --config "$ini" >/dev/null 2>&1
    done
    local pw pe mp me
    pw=$(cut -d' ' -f1 "$t.piso" | mediana)
    pe=$(cut -d' ' -f1 "$t.export" | mediana)
    mp=$(cut -d' ' -f2 "$t.piso" | maximo)
    me=$(cut -d' ' -f2 "$t.export" | maximo)
    awk -v r="$rotulo" -v pe="$pe" -v pw="$pw" -v me="$me" -v mp="$mp" -v b="$bytes" 'BEGIN {
        printf "| %s | %.2f s | %.2f s | %.2f | %d MiB | %d MiB | %.1f MB |\n", r, pe, pw, pe / pw, me / 1024, mp / 1024, b / 1e6 }'
}

echo "| data | export wall (median) | raw fetch floor | ratio | export peak memory | floor peak | row payload fetched |"
echo "|---|---|---|---|---|---|---|"
medir "200k" "$work/b50k.fdb" 3 2026
medir "1M" "$work/b1m.fdb" 3 2008

echo
echo "--- janela, um milhao de documentos"
mkdir -p "$work/janela"
build/bench/bench_janela "$work/1M.ini" "$PWD/$work/janela" 2>/dev/null
cmp "$work/1M-saida/01A31MAR.SAI" "$work/janela/01A31MAR.SAI" && echo "mesmos bytes da linha de comando e da janela"
