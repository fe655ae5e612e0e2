#!/usr/bin/env bash
# Export of N sales documents (default a million) by the headless exporter and by the window.
#   bench/run.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-1000000}
[ -x build/bench/bench_janela ] || bash scripts/build.sh
work=build/bench-dados
mkdir -p "$work/cli" "$work/janela"
db=$PWD/$work/bench.fdb
echo "gerando $n documentos..."
/usr/bin/time -f "geracao: %e s" bash bench/gera_bench.sh "$db" "$n"
printf '[EMPRESA]\nDatabase=%s\n' "$db" >"$work/dbxconnections.ini"
echo "--- zorla-exporta-cli"
/usr/bin/time -f "tempo: %e s, memoria maxima: %M KiB" build/app/zorla-exporta-cli --empresa 1 --codigo 0001 \
    --mes 3 --ano 2008 --saida "$work/cli" --config "$work/dbxconnections.ini" 2>&1 >/dev/null | tail -2
echo "--- janela"
build/bench/bench_janela "$work/dbxconnections.ini" "$PWD/$work/janela" 2>/dev/null
cmp "$work/cli/01A31MAR.SAI" "$work/janela/01A31MAR.SAI" && echo "mesmos bytes da linha de comando e da janela"
