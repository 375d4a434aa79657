#!/usr/bin/env bash
# Cross-builds Kalvex for Windows x86-64 (MinGW-w64, the Qt of ../shared/toolchains) into
# build/windows/ and packs it: Kalvex-<version>-setup.exe (NSIS) and
# kalvex-<version>-windows-x86_64.zip, each with the program, its language file and help pages,
# the Qt libraries and plugins it loads and the compiler's run-time libraries. Prints the two
# paths last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-common.sh
windows_configure
cmake --build "$windows_build" -j"$(nproc)" --target kalvex kalvex_windows_packages
cp "$windows_build"/Kalvex-*-setup.exe "$windows_build"/kalvex-*-windows-x86_64.zip "$windows_out"/
ls "$PWD/$windows_out"/Kalvex-*-setup.exe "$PWD/$windows_out"/kalvex-*-windows-x86_64.zip
