#!/usr/bin/env bash
# Runs a test program in a network namespace of its own, beside a throwaway
# MariaDB server that listens there on 127.0.0.1:3306. The program's
# built-in connection parameters then reach that server, so a test may press
# "Conectar", write through the application's user, or stop and restart the
# server, without touching the user's own server or data.
#
#   servidor-isolado.sh PROGRAM [ARGS...]
#
# Inside, FINARA_DB_SOCKET names the server's socket, and
# FINARA_SERVIDOR_ISOLADO names this script, which the test may call with
# "stop", "start" or "kill" to inject faults.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

dir=${FINARA_ISOLADO_DIR:-}

servidor() {
    case "$1" in
    start)
        setsid mariadbd --no-defaults --datadir="$dir/data" --socket="$FINARA_DB_SOCKET" \
            --pid-file="$dir/mysqld.pid" --log-error="$dir/server.log" \
            --port=3306 --bind-address=127.0.0.1 --skip-log-bin --user=root \
            --sql-mode=STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_AUTO_CREATE_USER,NO_ENGINE_SUBSTITUTION \
            --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
            --innodb-buffer-pool-size=64M </dev/null >/dev/null 2>&1 &
        disown
        for _ in $(seq 1 120); do
            mariadb-admin --no-defaults --socket="$FINARA_DB_SOCKET" -uroot ping >/dev/null 2>&1 && return 0
            sleep 0.25
        done
        echo "servidor-isolado: the server did not start; see $dir/server.log" >&2
        return 1 ;;
    stop)
        mariadb-admin --no-defaults --socket="$FINARA_DB_SOCKET" -uroot shutdown ;;
    kill)
        local pid
        pid=$(cat "$dir/mysqld.pid")
        kill -9 "$pid"
        while [ -e "/proc/$pid" ]; do sleep 0.05; done ;;
    esac
}

case "${1:-}" in
    start|stop|kill) servidor "$1"; exit ;;
    --dentro) shift ;;
    *)
        unshare_args=(--net)
        [ "$(id -u)" = 0 ] || unshare_args=(--map-root-user --net)
        exec unshare "${unshare_args[@]}" "$0" --dentro "$@" ;;
esac

dir=$(mktemp -d /tmp/finara-isolado.XXXXXX)
export FINARA_ISOLADO_DIR=$dir
export FINARA_DB_SOCKET=$dir/mysqld.sock
export FINARA_SERVIDOR_ISOLADO=$0

trap 'servidor stop >/dev/null 2>&1 || true; rm -rf "$dir"' EXIT
ip link set lo up
mariadb-install-db --no-defaults --datadir="$dir/data" --auth-root-authentication-method=normal \
    --skip-test-db >"$dir/install.log" 2>&1
servidor start
mariadb --no-defaults --socket="$FINARA_DB_SOCKET" -uroot < "$here/database/schema.sql"
"$@"
