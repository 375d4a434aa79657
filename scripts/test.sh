#!/usr/bin/env bash
# Builds everything and runs the whole test suite; non-zero exit on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
