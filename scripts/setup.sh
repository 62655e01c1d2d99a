#!/usr/bin/env bash
# Everything Finara needs before it runs or is tested, on Debian 12: the
# missing Debian packages, a build in ./build, and the local database server.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ make cmake qtbase5-dev qtbase5-dev-tools libqt5sql5-mysql qttranslations5-l10n
          libqt5charts5-dev qtkeychain-qt5-dev libmariadb-dev
          mariadb-server mariadb-client openssl iproute2
          dpkg-dev file) # the last two: the Debian package (cpack) and its test

"$here/scripts/install-packages.sh" "${packages[@]}"

cmake -S "$here" -B "$here/build" ${FINARA_CMAKE_ARGS:-}
cmake --build "$here/build" -j"$(nproc)"
"$here/scripts/db-server" start
