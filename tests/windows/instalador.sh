#!/usr/bin/env bash
# The Windows installer under Wine: installed silently, its folder on the PATH, the program run from where it went
# (it finds the connection file beside itself), the Start menu entries there; then the uninstaller leaves nothing
# behind, on the disk, in the menu or on the PATH.
#   instalador.sh WINE INSTALADOR.exe
set -euo pipefail
wine=$1 instalador=$2
export WINEDEBUG=-all
# A Windows of its own, where no earlier install is registered.
prefixo=$(mktemp -d)
trap '/usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$prefixo"' EXIT
export WINEPREFIX=$prefixo
destino=$prefixo/drive_c/ZorlaTeste
menu="$prefixo/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
falha() { echo "FALHOU: $*" >&2; exit 1; }

"$wine" "$instalador" /S /PATH '/D=C:\ZorlaTeste'
for f in bin/zorla-exporta-cli.exe bin/dbxconnections.ini "Manual do zorla-exporta-cli.txt" Desinstalar.exe; do
    [ -f "$destino/$f" ] || falha "o instalador não pôs $f em C:\\ZorlaTeste"
done
ls "$menu"/ZORLA*/"Manual do zorla-exporta-cli.lnk" >/dev/null || falha "sem o manual no menu Iniciar"
caminho() { "$wine" reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r' || true; }
[[ $(caminho) == *'C:\ZorlaTeste\bin'* ]] || falha "o PATH não tem C:\ZorlaTeste\bin: $(caminho)"
versao=$("$wine" 'C:\ZorlaTeste\bin\zorla-exporta-cli.exe' --version)
[[ $versao == "zorla-exporta-cli "* ]] || falha "--version disse: $versao"
saida=$("$wine" 'C:\ZorlaTeste\bin\zorla-exporta-cli.exe' --listar-empresas 2>&1 || true)
[[ $saida == *'Arquivo de conexão: C:\ZorlaTeste\bin\dbxconnections.ini'* ]] || falha "não leu a conexão ao lado: $saida"
echo "ok: instalado no PATH, executado"

"$wine" 'C:\ZorlaTeste\Desinstalar.exe' /S
# The uninstaller copies itself aside and works from there: it is done when the folder is gone.
for _ in $(seq 60); do [ -e "$destino" ] || break; sleep 0.5; done
[ ! -e "$destino" ] || falha "a desinstalação deixou: $(ls -A "$destino")"
if compgen -G "$menu/ZORLA*" >/dev/null; then falha "a desinstalação deixou o menu Iniciar"; fi
[[ $(caminho) != *'C:\ZorlaTeste'* ]] || falha "a desinstalação deixou o PATH: $(caminho)"
echo "ok: desinstalado"
