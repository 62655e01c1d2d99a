#!/usr/bin/env bash
# Runs a test program in a network namespace of its own, beside a throwaway
# server started by scripts/db-server itself in a temporary data directory
# (FINARA_DATA_DIR). The program's built-in connection parameters then reach
# that server through its socket, so a test may press "Conectar", write
# through the application's user, or stop and restart the server, without
# touching the user's own server or data, and checks the real script too.
#
#   servidor-isolado.sh PROGRAM [ARGS...]
#
# Inside, FINARA_DB_SOCKET names the server's socket, XDG_CONFIG_HOME an empty
# directory for the settings Finara remembers (never the user's), and
# FINARA_SERVIDOR_ISOLADO names this script, which the test may call with
# "stop", "start" or "kill" to inject faults.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
db_server=$here/scripts/db-server

servidor() {
    case "$1" in
    start|stop)
        "$db_server" "$1" >>"$FINARA_DATA_DIR/db-server.log" 2>&1 \
            || { echo "servidor-isolado: db-server $1 failed:" >&2
                 tail -n 20 "$FINARA_DATA_DIR/db-server.log" "$FINARA_DATA_DIR"/*.log \
                     "$FINARA_DATA_DIR/mariadb/server.log" >&2 2>/dev/null; return 1; } ;;
    kill)
        local pid
        pid=$(cat "$FINARA_DATA_DIR/mariadb/mysqld.pid")
        kill -9 "$pid"
        while [ -e "/proc/$pid" ]; do sleep 0.05; done ;;
    esac
}

case "${1:-}" in
    start|stop|kill) servidor "$1"; exit ;;
    --dentro) shift ;;
    *)
        unshare_args=(--net)
        [ "$(id -u)" = 0 ] || unshare_args=(--map-current-user --net)
        exec unshare "${unshare_args[@]}" "$0" --dentro "$@" ;;
esac

dir=$(mktemp -d /tmp/finara-isolado.XXXXXX)
chmod 711 "$dir" # the server's own account passes through to its data
export FINARA_DATA_DIR=$dir
export FINARA_DB_SOCKET=$dir/mariadb/mysqld.sock
export XDG_CONFIG_HOME=$dir/config
export FINARA_SERVIDOR_ISOLADO=$0

trap 'servidor stop >/dev/null 2>&1 || true; rm -rf "$dir"' EXIT
# Only root may bring the loopback up; the server itself needs no network.
[ "$(id -u)" != 0 ] || ip link set lo up
servidor start
"$@"
