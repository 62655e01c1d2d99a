#!/usr/bin/env bash
# Everything Finara needs before it runs or is tested, on Debian 12: the
# missing Debian packages, a build in ./build, and the local database server.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ make cmake qtbase5-dev qtbase5-dev-tools libqt5sql5-mysql
          mariadb-server mariadb-client iproute2)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_=()
    [ "$(id -u)" = 0 ] || sudo_=(sudo)
    "${sudo_[@]}" apt-get update -q
    # Debian would start its own MariaDB service; Finara runs a private one.
    DEBIAN_FRONTEND=noninteractive "${sudo_[@]}" apt-get install -y -q \
        --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$here/build" ${FINARA_CMAKE_ARGS:-}
cmake --build "$here/build" -j"$(nproc)"
"$here/scripts/db-server" start
