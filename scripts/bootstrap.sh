#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds into the given folder (default build/): everything, or only the
# targets named after the build type.
# Usage: scripts/bootstrap.sh [folder [build-type [target...]]]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
build_type=${2:-RelWithDebInfo}
targets=("${@:3}")

packages=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev libgl-dev libgtest-dev
          libgmock-dev libjpeg62-turbo-dev fonts-dejavu-core)
# The installation record: Qt SQL's SQLite driver.
packages+=(libqt6sql6-sqlite)
# The record tests read it as another program would, with the sqlite3 tool.
packages+=(sqlite3)
# The handover report tests read the PDF's text back with pdftotext.
packages+=(poppler-utils)
# The window-manager tests: a private X server, a window manager, the X tools that read its
# stacking order, and the X client library they ask the window manager with.
packages+=(xvfb openbox x11-utils libxcb1-dev)
# The demo's test finds what a demo left running with pgrep.
packages+=(procps)
./scripts/need-packages.sh "${packages[@]}"
# The check scripts need the packages only; they configure their own build folders.
[[ -n ${KALVEX_INSTALL_ONLY:-} ]] && exit 0

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" ${targets[@]:+--target "${targets[@]}"}
