#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer;
# clang) into build/fuzz and runs each for the given seconds (default 60), starting from its
# seeds in tests/fuzz/corpus/<target>. Prints each target's executions; a failing target leaves
# the input that broke it in build/fuzz/artifacts/<target>/ and the script ends non-zero after
# running the others.
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
KALVEX_INSTALL_ONLY=1 ./scripts/bootstrap.sh
./scripts/need-packages.sh clang libclang-rt-14-dev llvm ninja-build

seconds=${1:-60}
shift || true
src=$PWD/tests/fuzz
dir=$PWD/build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Check \
    -DCMAKE_CXX_FLAGS_CHECK="-O1 -gline-tables-only" -DKALVEX_SANITIZE=address,undefined \
    -DKALVEX_FUZZ=ON -DKALVEX_BENCHMARKS=OFF >/dev/null
nice cmake --build "$dir" -j"$(nproc)" --target fuzz_targets

targets=("$@")
if ((${#targets[@]} == 0)); then
    for t in "$src"/corpus/*/; do
        targets+=("$(basename "$t")")
    done
fi

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
failed=()
for t in "${targets[@]}"; do
    work=$dir/corpus/$t
    artifacts=$dir/artifacts/$t
    mkdir -p "$work" "$artifacts"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$artifacts/")
    [[ -f $src/$t.dict ]] && options+=(-dict="$src/$t.dict")
    log=$dir/$t.log
    status=0
    "$dir/bin/$t" "${options[@]}" "$work" "$src/corpus/$t" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    [[ -n $runs ]] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -n1 | tr -d '#')
    if ((status == 0)); then
        echo "$t: ${runs:-0} executions in $seconds s"
    else
        echo "$t: FAILED after ${runs:-?} executions (log: $log)"
        grep -E "property broken|ERROR: |runtime error|SUMMARY|Test unit written" "$log" | head -n 8
        failed+=("$t")
    fi
done
if ((${#failed[@]})); then
    echo "Failed: ${failed[*]}"
    exit 1
fi
