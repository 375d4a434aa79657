#!/usr/bin/env bash
# clang-tidy, with the checks of .clang-tidy, over the program's own sources (not the tests or
# benchmarks), one file per core. Needs only a configured build folder (build/tidy) for the
# compile commands; nothing is built. Non-zero exit on any finding.
# Usage: scripts/tidy.sh [file...]   (every source when none is given)
set -euo pipefail
cd "$(dirname "$0")/.."
KALVEX_INSTALL_ONLY=1 ./scripts/bootstrap.sh
./scripts/need-packages.sh clang clang-tidy ninja-build

dir=build/tidy
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DKALVEX_BENCHMARKS=OFF >/dev/null

files=("$@")
if ((${#files[@]} == 0)); then
    mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$dir/compile_commands.json" |
        grep -E "^$PWD/(link|files|texts|ui|registry|models|tools|record|monitor|app|sim)/[^/]+\.cpp$" | sort -u)
fi

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
mkdir "$logs/out" "$logs/failed"
# Each file's findings go to a log of their own and are printed whole.
printf '%s\n' "${files[@]}" | nice xargs -P"$(nproc)" -I{} sh -c \
    'f={}; name=$(echo "$f" | tr / _); clang-tidy -p '"$dir"' --quiet --use-color=false "$f" >'"$logs"'/out/"$name" 2>&1 || touch '"$logs"'/failed/"$name"' || true
cat "$logs"/out/* | grep -v '^[0-9]* warnings\{0,1\} generated\.$' || true
failed=$(find "$logs/failed" -type f | wc -l)
echo "clang-tidy: ${#files[@]} files, $failed with findings"
if ((failed)); then
    echo "Findings (file:line: check):"
    cat "$logs"/out/* | sed -n "s|^$PWD/\([^:]*\):\([0-9]*\):[0-9]*: [a-z]*: .* \[\([^],]*\).*\]$|  \1:\2: \3|p" | sort -u
    exit 1
fi
