#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan and runs the whole suite there.
# Any error, or a leak from Finara's own code, fails the run; leaks inside Qt,
# the MariaDB client library and the system's font and display libraries are
# theirs (tests/lsan.supp).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DFINARA_SANITIZE=ON
cmake --build "$here/build-asan" -j"$(nproc)"
export FINARA_DB_SOCKET
FINARA_DB_SOCKET=$("$here/scripts/db-server" socket)
export QT_QPA_PLATFORM=offscreen
# Full stacks, slower but needed by the precise entries of lsan.supp.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS=suppressions=$here/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$here/build-asan"
ctest --output-on-failure "$@"
