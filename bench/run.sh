#!/usr/bin/env bash
# The command-line export and check against the floors of any export (its three queries fetched and discarded: one
# after the other, and the three at once on attachments of their own), on
# two databases: 50,000 sales + 50,000 purchases + 100,000 cash/bank movements of March 2026, and a million
# documents (900,000 / 100,000 / 100,000) of March 2008. Runs interleaved; prints for each the median wall times,
# the export's ratio to the floor, the peak memories and the bytes of row data fetched, and checks the run's totals
# against the files. Then a batch of two companies against the same two exports one after the other, and the
# window on the million.
#   bench/run.sh [RUNS]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
bash scripts/build.sh >/dev/null
cmake --build build -j2 --target zorla-exporta-cli piso_fetch bench_janela altera_exportacao >/dev/null
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
    : >"$t.paralelo"
    : >"$t.export"
    : >"$t.verifica"
    local bytes=0 cli=(build/app/zorla-exporta-cli --empresa 1 --mes "$mes" --ano "$ano" --config "$ini")
    for ((i = 0; i < runs; i++)); do
        bytes=$(/usr/bin/time -f "%e %M" -a -o "$t.piso" build/bench/piso_fetch "$PWD/$db" "$mes" "$ano" 1 |
            awk '/bytes de dados/ { print $4 }')
        /usr/bin/time -f "%e %M" -a -o "$t.paralelo" build/bench/piso_fetch "$PWD/$db" "$mes" "$ano" 1 paralelo >/dev/null
        # 3: the generated data carries warnings, and movements without an account, by design.
        /usr/bin/time -f "%e %M" -a -o "$t.export" "${cli[@]}" --codigo 0001 --saida "$saida" \
            --resumo "$saida/resumo.csv" >/dev/null 2>&1 || [ $? -eq 3 ]
        /usr/bin/time -f "%e %M" -a -o "$t.verifica" "${cli[@]}" --verificar >/dev/null 2>&1 || [ $? -eq 3 ]
    done
    local pw pp pe pv mp me mv
    pw=$(grep -v status "$t.piso" | cut -d' ' -f1 | mediana)
    pp=$(grep -v status "$t.paralelo" | cut -d' ' -f1 | mediana)
    pe=$(grep -v status "$t.export" | cut -d' ' -f1 | mediana)
    pv=$(grep -v status "$t.verifica" | cut -d' ' -f1 | mediana)
    mp=$(grep -v status "$t.piso" | cut -d' ' -f2 | maximo)
    me=$(grep -v status "$t.export" | cut -d' ' -f2 | maximo)
    mv=$(grep -v status "$t.verifica" | cut -d' ' -f2 | maximo)
    awk -v r="$rotulo" -v pe="$pe" -v pv="$pv" -v pw="$pw" -v pp="$pp" -v me="$me" -v mv="$mv" -v mp="$mp" -v b="$bytes" 'BEGIN {
        printf "| %s | %.2f s | %.2f s | %.2f s | %.2f s | %.2f | %.2f | %d MiB | %d MiB | %d MiB | %.1f MB |\n",
            r, pe, pv, pw, pp, pe / pw, pe / pp, me / 1024, mv / 1024, mp / 1024, b / 1e6 }'
    bash bench/confere_resumo.sh "$saida" 01A31MAR "$saida/resumo.csv" >>"$work/conferencia"
}

# Two companies on two database files: one batch of two tasks against two exports one after the other.
lote() {
    cp -n "$work/b50k.fdb" "$work/b50k-2.fdb"
    printf '[EMPRESA]\nDatabase=%s\n' "$PWD/$work/b50k-2.fdb" >"$work/200k-2.ini"
    mkdir -p "$work/lote/200k" "$work/lote/200k-2"
    printf '200k.ini;1;0001;lote/200k\n200k-2.ini;1;0001;lote/200k-2\n' >"$work/lote.txt"
    local t=$work/tempos
    : >"$t.lote"
    : >"$t.serie"
    for ((i = 0; i < runs; i++)); do
        /usr/bin/time -f "%e" -a -o "$t.lote" build/app/zorla-exporta-cli --lote "$work/lote.txt" --mes 3 --ano 2026 \
            --tarefas 2 >/dev/null 2>&1 || [ $? -eq 3 ]
        /usr/bin/time -f "%e" -a -o "$t.serie" bash -c 'for b in 200k 200k-2; do
            build/app/zorla-exporta-cli --empresa 1 --codigo 0001 --mes 3 --ano 2026 --config "$1/$b.ini" \
                --saida "$1/lote/$b" >/dev/null 2>&1 || [ $? -eq 3 ]; done' _ "$work"
    done
    local l s
    l=$(mediana <"$t.lote")
    s=$(mediana <"$t.serie")
    awk -v l="$l" -v s="$s" 'BEGIN { printf "lote de 2 empresas (200k cada), --tarefas 2: %.2f s; as duas em série: %.2f s (%.2fx)\n", l, s, s / l }'
}

echo "| data | export wall (median) | check wall | serial floor | parallel floor | export/serial | export/parallel | export peak memory | check peak | floor peak | row payload fetched |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
: >"$work/conferencia"
medir "200k" "$work/b50k.fdb" 3 2026
medir "1M" "$work/b1m.fdb" 3 2008
cat "$work/conferencia"

echo
lote

# The files of the million read back against reading them with cat (the floor), the page cache warm for both. To
# the millisecond: a tenth of a second is all either takes.
medeConferencia() {  # FILE COMMAND...: appends the wall time in seconds and the peak in KiB
    local saida=$1 antes depois
    shift
    antes=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$saida.pico" "$@" >/dev/null
    depois=$(date +%s%N)
    local ms=$(((depois - antes) / 1000000))
    printf '%d.%03d %s\n' $((ms / 1000)) $((ms % 1000)) "$(cat "$saida.pico")" >>"$saida"
}
confere() {
    local pasta=$work/1M-saida t=$work/tempos
    local arquivos=("$pasta"/*.SAI "$pasta"/*.ENT "$pasta"/*.txt)
    : >"$t.conferir"
    : >"$t.cat"
    cat "${arquivos[@]}" >/dev/null
    for ((i = 0; i < runs; i++)); do
        medeConferencia "$t.conferir" build/app/zorla-exporta-cli --conferir "$pasta"
        medeConferencia "$t.cat" cat "${arquivos[@]}"
    done
    local c k mc
    c=$(cut -d' ' -f1 "$t.conferir" | mediana)
    k=$(cut -d' ' -f1 "$t.cat" | mediana)
    mc=$(cut -d' ' -f2 "$t.conferir" | maximo)
    awk -v c="$c" -v k="$k" -v m="$mc" -v b="$(cat "${arquivos[@]}" | wc -c)" 'BEGIN {
        printf "--conferir no milhao (%.0f MB): %.3f s, pico %d MiB; cat: %.3f s (%.2fx)\n", b / 1e6, c, m / 1024, k, c / k }'
    # From the disk, where the machine lets the page cache be emptied (as root).
    [ -w /proc/sys/vm/drop_caches ] || return 0
    : >"$t.conferir"
    : >"$t.cat"
    for ((i = 0; i < runs; i++)); do
        sync && echo 3 >/proc/sys/vm/drop_caches
        medeConferencia "$t.conferir" build/app/zorla-exporta-cli --conferir "$pasta"
        sync && echo 3 >/proc/sys/vm/drop_caches
        medeConferencia "$t.cat" cat "${arquivos[@]}"
    done
    c=$(cut -d' ' -f1 "$t.conferir" | mediana)
    k=$(cut -d' ' -f1 "$t.cat" | mediana)
    awk -v c="$c" -v k="$k" 'BEGIN { printf "  lidos do disco: %.3f s; cat: %.3f s (%.2fx)\n", c, k, c / k }'
}
confere

# The million's export against a copy with a re-export's corrections (of every 200 records two changed, one removed,
# one added: 1%, 0.5%, 0.5%), compared, against --conferir reading both folders; the page cache warm for both.
compara() {
    local a=$work/1M-saida d=$work/1M-corrigida t=$work/tempos
    rm -rf "$d"
    build/bench/altera_exportacao "$a" "$d"
    : >"$t.comparar"
    : >"$t.conferir2"
    cat "$a"/* "$d"/* >/dev/null
    for ((i = 0; i < runs; i++)); do
        medeConferencia "$t.conferir2" bash -c 'build/app/zorla-exporta-cli --conferir "$1" &&
            build/app/zorla-exporta-cli --conferir "$2"' _ "$a" "$d"
        # 3: the two differ, as they were made to.
        medeConferencia "$t.comparar" bash -c 'build/app/zorla-exporta-cli --comparar "$1" "$2" || [ $? -eq 3 ]' _ \
            "$a" "$d"
    done
    local c k mc
    c=$(cut -d' ' -f1 "$t.comparar" | mediana)
    k=$(cut -d' ' -f1 "$t.conferir2" | mediana)
    mc=$(cut -d' ' -f2 "$t.comparar" | maximo)
    awk -v c="$c" -v k="$k" -v m="$mc" 'BEGIN {
        printf "--comparar no milhao (1%% alterados, 0,5%% removidos, 0,5%% novos): %.3f s, pico %d MiB; --conferir das duas pastas: %.3f s (%.2fx)\n", c, m / 1024, k, c / k }'
}
compara

echo
echo "--- janela, um milhao de documentos"
mkdir -p "$work/janela"
build/bench/bench_janela "$work/1M.ini" "$PWD/$work/janela" 2>/dev/null
cmp "$work/1M-saida/01A31MAR.SAI" "$work/janela/01A31MAR.SAI" && echo "mesmos bytes da linha de comando e da janela"
