#!/usr/bin/env bash
# Builds the Debian package, installs it, checks that the installed programs start and that the installed command
# line, stripped and in its installed place, writes the same bytes as the one the tests ran (build/), then removes
# the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(bash scripts/package.sh)
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --reinstall --no-install-recommends "./$deb" </dev/null >/dev/null

work=$(mktemp -d)
trap 'apt-get purge -y -qq zorla-exporta </dev/null >/dev/null; rm -rf "$work"' EXIT
ZORLA_GERA_DADOS=build/db/zorla-gera-dados bash db/cria-banco-demo.sh "$work/ZORLA.FDB" --ano 2026 >/dev/null
printf '[EMPRESA]\r\nDatabase=%s\r\n' "$work/ZORLA.FDB" >"$work/conexao.ini"
mkdir "$work/instalado" "$work/compilado"
args=(--empresa 1 --mes 3 --ano 2026 --config "$work/conexao.ini")

zorla-exporta-cli --version
# The connection file may hold a password: root and the operators' group only.
[ "$(stat -c '%a %U %G' /etc/zorla-exporta/dbxconnections.ini)" = "640 root zorla-exporta" ]
# Without a display the window points to the command line; --help needs none.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM zorla-exporta --help | grep -q zorla-exporta-cli
rc=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM zorla-exporta 2>"$work/semtela" || rc=$?
[ "$rc" -eq 1 ]
grep -q zorla-exporta-cli "$work/semtela"
# The demo's movements without an account end the export with 3 ("concluída com pendências").
exporta() { rc=0; "$@" >/dev/null 2>&1 || rc=$?; [ "$rc" -eq 0 ] || [ "$rc" -eq 3 ]; }
exporta zorla-exporta-cli "${args[@]}" --codigo 0001 --saida "$work/instalado"
exporta build/app/zorla-exporta-cli "${args[@]}" --codigo 0001 --saida "$work/compilado"
diff -r "$work/instalado" "$work/compilado"
[ -n "$(ls "$work/instalado")" ]
# The demo's data has faults on purpose: the check must find the same ones with the same status.
verifica() { rc=0; "$1" "${args[@]}" --verificar >"$2" 2>&1 || rc=$?; echo "$rc" >>"$2"; }
verifica zorla-exporta-cli "$work/verificacao.instalado"
verifica build/app/zorla-exporta-cli "$work/verificacao.compilado"
diff "$work/verificacao.instalado" "$work/verificacao.compilado"
# A check that ran ends with 0, 3 or 4; anything else is a refusal or a failure, the same on both sides.
grep -qx '[034]' <(tail -n 1 "$work/verificacao.instalado")
# The window has no way out but its close button: still running after a few seconds means it started.
rc=0
QT_QPA_PLATFORM=offscreen timeout -k 10 3 zorla-exporta || rc=$?
[ "$rc" -eq 124 ] || { echo "zorla-exporta instalado terminou com $rc ao abrir" >&2; exit 1; }
echo "pacote $deb: instalado, conferido e removido"
