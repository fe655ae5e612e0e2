#!/usr/bin/env bash
# Private Firebird 3 server on 127.0.0.1 for the tests.
#   fbserver.sh start DIR [PORT]   (PORT defaults to 3052)
#   fbserver.sh stop DIR
# DIR becomes the server's root folder, with its own security database so the
# system one is never touched. Users: SYSDBA/masterkey, ZORLA/qubertan (Srp).
set -euo pipefail

FB_LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
FB_CONF=/etc/firebird/3.0/firebird.conf
FB_SECDB=/var/lib/firebird/3.0/system/security3.fdb
FB_SERVER=/usr/sbin/firebird
# The engine's own log has a built-in path; FIREBIRD does not move it.
FB_SYSLOG=/var/log/firebird/firebird3.0.log
ISQL=isql-fb

die() { echo "fbserver: $*" >&2; exit 1; }

usage() {
    echo "usage: $0 start DIR [PORT] | stop DIR" >&2
    exit 2
}

# Absolute path without requiring DIR to exist yet.
abspath() {
    case "$1" in
        /*) printf '%s\n' "$1" ;;
        *) printf '%s/%s\n' "$PWD" "$1" ;;
    esac
}

# A zombie counts as gone: whoever inherited the server (often pid 1) may
# take seconds to reap it. Threads still exiting keep it alive.
pid_alive() {
    local state threads
    [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 1
    state=$(awk '$1 == "State:" { print $2 }' "/proc/$1/status" 2>/dev/null || true)
    threads=$(awk '$1 == "Threads:" { print $2 }' "/proc/$1/status" 2>/dev/null || true)
    [ "$state" != Z ] || [ "${threads:-1}" -gt 1 ]
}

# Only a pid that is still our firebird binary is killed: a stale file may
# name a pid the system has since reused.
is_our_server() {
    local pid=$1 exe
    pid_alive "$pid" || return 1
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null || true)
    [ "$exe" = "$FB_SERVER" ]
}

stop_server() {
    local dir=$1 pidfile pid i
    pidfile="$dir/firebird.pid"
    [ -f "$pidfile" ] || return 0
    pid=$(tr -dc '0-9' <"$pidfile")
    if [ -n "$pid" ] && is_our_server "$pid"; then
        # TERM normally ends it within 0.3 s, but about one start in six
        # yields a server (one thread short) that ignores TERM and INT alike.
        kill -TERM "$pid" 2>/dev/null || true
        for ((i = 0; i < 30; i++)); do
            pid_alive "$pid" || break
            sleep 0.1
        done
        if pid_alive "$pid"; then
            echo "fbserver: pid $pid ignored TERM, sending KILL" >&2
            kill -KILL "$pid" 2>/dev/null || true
            for ((i = 0; i < 50; i++)); do
                pid_alive "$pid" || break
                sleep 0.1
            done
        fi
        pid_alive "$pid" && die "pid $pid did not exit"
    fi
    rm -f "$pidfile"
}

port_open() {
    # Subshell so the descriptor closes straight away.
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

cmd_start() {
    local dir port pid i
    dir=$(abspath "$1")
    port=${2:-3052}
    [[ "$port" =~ ^[0-9]+$ ]] || die "bad port: $port"
    [ "$dir" != / ] || die "refusing to use / as DIR"

    stop_server "$dir"
    if port_open "$port"; then
        die "something already listens on 127.0.0.1:$port"
    fi
    # Only a folder this script made is wiped, never a mistyped DIR.
    if [ -e "$dir" ] && [ -n "$(ls -A "$dir")" ] &&
        ! grep -qx '# private test server' "$dir/firebird.conf" 2>/dev/null; then
        die "$dir exists and is not a folder made by fbserver.sh"
    fi
    rm -rf "$dir"
    mkdir -p "$dir/intl" "$dir/lock"

    # Drop the keys we set, so no duplicate decides which value wins.
    grep -Ev '^[[:space:]]*(RemoteServicePort|RemoteBindAddress|SecurityDatabase)[[:space:]]*=' \
        "$FB_CONF" >"$dir/firebird.conf"
    cat >>"$dir/firebird.conf" <<EOF

# private test server
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $dir/security3.fdb
EOF
    ln -s "$FB_LIB/databases.conf" "$dir/databases.conf"
    ln -s "$FB_LIB/plugins.conf" "$dir/plugins.conf"
    ln -s "$FB_LIB/firebird.msg" "$dir/firebird.msg"
    # Symlinks here leave WIN1252 "not installed"; copies work.
    cp "$FB_LIB/intl/libfbintl.so" "$dir/intl/"
    cp -L "$FB_LIB/intl/fbintl.conf" "$dir/intl/"
    cp "$FB_SECDB" "$dir/security3.fdb"
    chmod 0660 "$dir/security3.fdb"

    # Embedded, with FIREBIRD=DIR, so user changes land in the copy.
    cat >"$dir/users.sql" <<'EOF'
CREATE OR ALTER USER ZORLA PASSWORD 'qubertan' USING PLUGIN Srp;
CREATE OR ALTER USER SYSDBA PASSWORD 'masterkey' USING PLUGIN Srp;
COMMIT;
EOF
    if ! FIREBIRD="$dir" FIREBIRD_LOCK="$dir/lock" \
        "$ISQL" -q -b -user SYSDBA -i "$dir/users.sql" "$dir/security3.fdb" </dev/null \
        >"$dir/users.log" 2>&1; then
        cat "$dir/users.log" >&2
        die "could not create users in $dir/security3.fdb"
    fi

    # Own lock folder: nothing shared with embedded engines in /tmp/firebird.
    # An embedded open of a file the server holds still fails, because the
    # engine also locks the database file itself.
    FIREBIRD="$dir" FIREBIRD_LOCK="$dir/lock" "$FB_SERVER" </dev/null >"$dir/firebird.log" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/firebird.pid"

    for ((i = 0; i < 100; i++)); do
        if port_open "$port"; then
            echo "fbserver: pid $pid listening on 127.0.0.1:$port"
            return 0
        fi
        pid_alive "$pid" || break
        sleep 0.1
    done
    echo "fbserver: server did not listen on 127.0.0.1:$port; logs follow" >&2
    cat "$dir/firebird.log" >&2 || true
    tail -n 20 "$FB_SYSLOG" >&2 2>/dev/null || true
    stop_server "$dir"
    exit 1
}

cmd_stop() {
    stop_server "$(abspath "$1")"
}

[ $# -ge 1 ] || usage
case "$1" in
    start)
        if [ $# -lt 2 ] || [ $# -gt 3 ]; then usage; fi
        cmd_start "$2" "${3:-}"
        ;;
    stop)
        if [ $# -ne 2 ]; then usage; fi
        cmd_stop "$2"
        ;;
    *) usage ;;
esac
