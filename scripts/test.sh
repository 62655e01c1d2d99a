#!/usr/bin/env bash
# Sets everything up (see setup.sh) and runs the whole test suite. The tests
# work in scratch databases of their own on the local server.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
export FINARA_DB_SOCKET
FINARA_DB_SOCKET=$("$here/scripts/db-server" socket)
export QT_QPA_PLATFORM=offscreen
cd "$here/build"
ctest --output-on-failure "$@"
