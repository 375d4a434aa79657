#!/usr/bin/env bash
# Starts the program against the simulated installation.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh build
echo "The program and its simulated installation are not built yet: only the decoder link exists so far."
echo "Run ./scripts/test.sh to exercise it."
