#!/usr/bin/env bash
# Installs those of the given Debian packages that are missing (with sudo
# unless run as root). When it installs mariadb-server itself, Debian's own
# MariaDB service is kept from starting and from starting at boot: Finara runs
# a private server of its own (scripts/db-server), and a second, idle one
# would only cost memory and listen on the network.
set -euo pipefail
missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0
echo "install-packages: installing ${missing[*]}"
sudo_=()
[ "$(id -u)" = 0 ] || sudo_=(sudo)

policy=/usr/sbin/policy-rc.d
own_policy=
if [[ " ${missing[*]} " == *" mariadb-server "* ]] && [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo_[@]}" tee "$policy" >/dev/null
    "${sudo_[@]}" chmod +x "$policy"
    own_policy=1
    trap '"${sudo_[@]}" rm -f "$policy"' EXIT
fi

"${sudo_[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

if [ -n "$own_policy" ] && command -v systemctl >/dev/null; then
    "${sudo_[@]}" systemctl disable mariadb >/dev/null 2>&1 || true
fi
