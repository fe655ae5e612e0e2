#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo database (embedded) and starts the window on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DZORLA_BUILD_TESTS=OFF
demo=$PWD/build/demo
mkdir -p "$demo"
if [ ! -f "$demo/ZORLA.FDB" ]; then
    # This year's data, so the window's default period (the current month) has rows to show.
    ZORLA_GERA_DADOS=build/db/zorla-gera-dados bash db/cria-banco-demo.sh "$demo/ZORLA.FDB" --ano "$(date +%Y)"
fi
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$demo/ZORLA.FDB" >build/app/dbxconnections.ini
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/app/zorla-exporta
fi
echo "Sem display gráfico: exportando março de $(date +%Y) da empresa 1 pela linha de comando." >&2
mkdir -p "$demo/saida"
exec build/app/zorla-exporta-cli --empresa 1 --codigo 0001 --mes 3 --ano "$(date +%Y)" --saida "$demo/saida"
