#!/usr/bin/env bash
# Builds in release mode and runs every benchmark; each prints "name: value unit" lines.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh build/release Release
export QT_QPA_PLATFORM=offscreen
for b in build/release/bin/bench_*; do
    "$b"
done
