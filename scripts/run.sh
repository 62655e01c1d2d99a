#!/usr/bin/env bash
# Sets everything up (see setup.sh) and opens Finara.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
exec "$here/build/finara"
