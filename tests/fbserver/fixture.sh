#!/usr/bin/env bash
# Test fixture: a demo database served by a Firebird server of its own on 127.0.0.1:3052.
#   fixture.sh start WORKDIR GERA_DADOS SOURCE_DIR
#   fixture.sh stop WORKDIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:-}
work=${2:?workdir}
case "$cmd" in
    start)
        mkdir -p "$work"
        bash "$here/fbserver.sh" stop "$work/server"
        rm -f "$work/servidor.fdb"
        ZORLA_GERA_DADOS=${3:?generator} bash "${4:?source dir}/db/cria-banco-demo.sh" "$work/servidor.fdb" \
            --empresas 2 --docs-mes 3 --movs-mes 3 >/dev/null
        bash "$here/fbserver.sh" start "$work/server" 3052
        ;;
    stop)
        bash "$here/fbserver.sh" stop "$work/server"
        ;;
    *)
        echo "uso: $0 start|stop WORKDIR [GERA_DADOS SOURCE_DIR]" >&2
        exit 2
        ;;
esac
