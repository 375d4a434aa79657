#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted with the project's .clang-format; with --fix,
# formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/need-packages.sh clang-format

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run -Werror "${files[@]}"
    echo "clang-format: ${#files[@]} files formatted"
fi
