#!/usr/bin/env bash
# Fills Finara's local database with a year of example expenses and a dozen
# categories, so that "Classificar Dados" and "Analisar dados" show something
# at once. It refuses to touch a database that already holds expenses.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
database=${1:-vestara_gastos}
socket=$("$here/scripts/db-server" socket)
sql() { mariadb --no-defaults --socket="$socket" --default-character-set=utf8mb4 "$database" "$@"; }

"$here/scripts/db-server" status >/dev/null || "$here/scripts/db-server" start
existing=$(sql -N -e 'SELECT COUNT(*) FROM gastos')
if [ "$existing" != 0 ]; then
    echo "demo-data: $database already holds $existing expenses; nothing was changed." >&2
    exit 1
fi
sql < "$here/scripts/demo-data.sql"
echo "demo-data: example expenses added to $database."
