#!/usr/bin/env bash
# The Windows command line under Wine, from outside: help, version, bad arguments, a missing client library, a
# folder another process holds, a folder named with accents.
#   programa.sh WINE CLI.exe TRAVA_PASTA.exe
set -u
wine=$1 cli=$2 trava=$3
export WINEDEBUG=-all
falhas=0
dir=$(mktemp -d)
trap 'kill %1 2>/dev/null; rm -rf "$dir"' EXIT
confere() {  # WHAT EXPECTED_STATUS TEXT_IN_OUTPUT COMMAND...
    local oque=$1 esperado=$2 texto=$3
    shift 3
    local saida status
    saida=$("$@" 2>&1)
    status=$?
    if [ "$status" -ne "$esperado" ] || [[ "$saida" != *"$texto"* ]]; then
        echo "FALHOU: $oque: saída $status (esperada $esperado), sem \"$texto\" em:"
        echo "$saida"
        falhas=$((falhas + 1))
    else
        echo "ok: $oque"
    fi
}
w() { printf 'Z:%s' "${1//\//\\}"; }  # a Linux path as Wine's drive Z: spells it
printf '[EMPRESA]\r\nDatabase=C:\\dados\\ZORLA.FDB\r\n' >"$dir/dbxconnections.ini"
mkdir -p "$dir/saída" "$dir/ocupada"
exporta=("$wine" "$cli" --empresa 1 --codigo 0001 --mes 3 --ano 2026 --config "$(w "$dir/dbxconnections.ini")")

confere "--help" 0 "Uso: zorla-exporta-cli" "$wine" "$cli" --help
confere "--version" 0 "zorla-exporta-cli 3." "$wine" "$cli" --version
confere "mês 13" 2 "valor inválido para --mes" "$wine" "$cli" --empresa 1 --codigo 1 --mes 13 --ano 2026 --saida "$(w "$dir")"
# No fbclient.dll beside the program nor on PATH: what to install, in Portuguese, in the console's UTF-8.
confere "sem fbclient.dll" 1 "Instale o cliente do Firebird 3 (fbclient.dll" "${exporta[@]}" --saida "$(w "$dir/saída")"
# Another process holds the folder.
"$wine" "$trava" "$(w "$dir/ocupada")" 60 >"$dir/trava.log" &
for _ in $(seq 100); do grep -q travada "$dir/trava.log" && break; sleep 0.2; done
confere "pasta de outro processo" 1 "está sendo usada por outra exportação" "${exporta[@]}" --saida "$(w "$dir/ocupada")"
# Exported files in a folder whose name has accents, read back.
printf 'linha\r\n' >"$dir/saída/fca01A31MAR.txt"
confere "pasta com acentos" 4 "fca01A31MAR.txt: 0 movimentos, 1 linha, " "$wine" "$cli" --conferir "$(w "$dir/saída")"
exit $((falhas > 0))
