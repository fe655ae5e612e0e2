#!/usr/bin/env bash
# Creates the ZORLA demo database (embedded Firebird, no server needed).
#
#   cria-banco-demo.sh ARQUIVO.fdb [--somente-esquema] [opcoes do gerador...]
#
# The generator is taken from $ZORLA_GERA_DADOS, by default the build tree's
# zorla-gera-dados; generator options (--empresas, --ano, --docs-mes,
# --movs-mes, --semente) are passed on unchanged.
set -euo pipefail

uso() {
    echo "uso: $0 ARQUIVO.fdb [--somente-esquema] [--empresas N] [--ano AAAA] [--docs-mes N] [--movs-mes N] [--semente S]" >&2
    exit 2
}

[ $# -ge 1 ] || uso
case "$1" in -*) uso ;; esac
destino=$1
shift

somente_esquema=0
opcoes=()
for arg in "$@"; do
    if [ "$arg" = "--somente-esquema" ]; then
        somente_esquema=1
    else
        opcoes+=("$arg")
    fi
done

aqui=$(cd "$(dirname "$0")" && pwd)
esquema=$aqui/schema.sql
gerador=${ZORLA_GERA_DADOS:-$aqui/../build/db/zorla-gera-dados}
isql=${ZORLA_ISQL:-isql-fb}

if [ -e "$destino" ]; then
    echo "$0: $destino ja existe; apague-o antes ou escolha outro nome" >&2
    exit 1
fi
if [ ! -r "$esquema" ]; then
    echo "$0: nao encontrei $esquema" >&2
    exit 1
fi
if [ "$somente_esquema" = 0 ] && [ ! -x "$gerador" ]; then
    echo "$0: gerador $gerador nao encontrado (compile zorla-gera-dados ou defina ZORLA_GERA_DADOS)" >&2
    exit 1
fi

# Embedded CREATE DATABASE resolves relative names against the engine's
# idea of the current folder; an absolute path avoids surprises.
case "$destino" in
    /*) ;;
    *) destino=$(pwd)/$destino ;;
esac

temp=$(mktemp -d)
criado=0
limpa() {
    status=$?
    rm -rf "$temp"
    # a half-built database would only make the next attempt refuse to run
    if [ "$status" != 0 ] && [ "$criado" = 1 ]; then
        rm -f "$destino"
        echo "$0: falhou; $destino removido" >&2
    fi
    exit "$status"
}
trap limpa EXIT

# Runs one isql script file. isql is fed with -i, never through stdin:
# reading stdin it drops every byte above 127. The connection character set
# must be given here; SET NAMES inside the script only affects later
# CONNECTs. Any error text counts as failure, whatever the exit status.
roda_isql() {
    local script=$1
    shift
    local log=$temp/isql.log
    if ! "$isql" -q -bail -user SYSDBA -ch WIN1252 -i "$script" "$@" >"$log" 2>&1 \
        || grep -Eq 'Statement failed|SQLSTATE|^Dynamic SQL Error|^Use CONNECT or CREATE DATABASE' "$log"; then
        cat "$log" >&2
        return 1
    fi
}

sql_literal=${destino//\'/\'\'}
{
    printf "SET SQL DIALECT 3;\n"
    printf "CREATE DATABASE '%s' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n" "$sql_literal"
    cat "$esquema"
} >"$temp/esquema.sql"

criado=1
roda_isql "$temp/esquema.sql"

if [ "$somente_esquema" = 0 ]; then
    "$gerador" "${opcoes[@]+"${opcoes[@]}"}" >"$temp/dados.sql"
    roda_isql "$temp/dados.sql" "$destino"
fi

echo "$destino criado"
