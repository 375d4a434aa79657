#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it: the desktop entry and the
# metainfo it installs against their standards, the package with lintian (no errors), no test
# program or simulator inside, and the program itself, unpacked into a temporary root, finding
# its texts and its help page in each of its languages (kalvex --check).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/need-packages.sh desktop-file-utils appstream lintian
deb=$(./scripts/package.sh | tail -n1)
echo "$deb: $(du -k "$deb" | cut -f1) KiB"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root/pkg"

desktop-file-validate "$root"/pkg/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/pkg/usr/share/metainfo/*.metainfo.xml
lintian --fail-on error "$deb"

if dpkg -c "$deb" | grep -E 'kalvex-bus-sim|_test$|bench_'; then
    echo "The package carries a test program or the simulator." >&2
    exit 1
fi

# Each language from a fresh configuration folder, so only the package's own files count.
for idioma in ENGLISH ESPAÑOL FRANÇAIS DEUTSCH; do
    config=$root/config-$idioma
    mkdir -p "$config"
    printf '[General]\r\nIdioma=%s\r\n' "$idioma" | iconv -f UTF-8 -t WINDOWS-1252 >"$config/KALVEX.INI"
    KALVEX_CONFIG_DIR=$config KALVEX_DATA_DIR=$root/data-$idioma QT_QPA_PLATFORM=offscreen \
        "$root/pkg/usr/bin/kalvex" --check
done
