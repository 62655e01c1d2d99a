#!/usr/bin/env bash
# The Debian package as cpack makes it from the install rules: its file name,
# what a second desktop must get with it and may go without, and that its
# desktop entry starts the Finara it installs.
#
#   pacote.sh BUILD_DIR
set -euo pipefail
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "pacote: $*" >&2; exit 1; }

(cd "$dir" && cpack -G DEB --config "$1/CPackConfig.cmake" >cpack.log 2>&1) || { cat "$dir/cpack.log"; fail "cpack failed"; }
deb=$(find "$dir" -maxdepth 1 -name 'finara_*_amd64.deb')
[ -n "$deb" ] || fail "no finara_VERSION_amd64.deb"
info=$(dpkg -I "$deb")
contents=$(dpkg --contents "$deb" | awk '{print $NF}')

depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for package in libqt5widgets5 libqt5sql5 libqt5sql5-mysql libqt5charts5 libqt5keychain1 qttranslations5-l10n; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "does not depend on $package: $depends"
done
[[ $depends != *mariadb-server* ]] || fail "a desktop without the server must install it: $depends"
grep -q '^ Recommends:.*mariadb-server' <<<"$info" || fail "mariadb-server is not recommended"

for file in ./usr/bin/finara ./usr/share/applications/finara.desktop \
            ./usr/share/icons/hicolor/256x256/apps/finara.png ./usr/share/icons/hicolor/scalable/apps/finara.svg; do
    grep -qx "$file" <<<"$contents" || fail "$file is not in the package"
done

# The entry's command is the binary installed, and that binary comes up.
dpkg -x "$deb" "$dir/raiz"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$dir/raiz/usr/share/applications/finara.desktop")
[ -x "$dir/raiz/usr/bin/$command" ] || fail "Exec=$command is not the installed /usr/bin/finara"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$dir/raiz/usr/bin/$command" >/dev/null 2>&1 || status=$?
[ "$status" = 124 ] || fail "the installed finara ended at once (status $status)"
echo "pacote: $(basename "$deb") ok"
