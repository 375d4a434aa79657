#!/usr/bin/env bash
# Builds the tests with sanitizers (clang, -O1) and runs them; any sanitizer report fails the
# test it happens in.
#   asan  every test, with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer
#         (build/asan)
#   tsan  the tests that run threads, with ThreadSanitizer (build/tsan)
# Usage: scripts/sanitize.sh [asan] [tsan]   (both when none is given)
set -euo pipefail
cd "$(dirname "$0")/.."
KALVEX_INSTALL_ONLY=1 ./scripts/bootstrap.sh
./scripts/need-packages.sh clang libclang-rt-14-dev llvm ninja-build

steps=("$@")
((${#steps[@]})) || steps=(asan tsan)
supp=$PWD/tests/sanitizers
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

configure() { # folder sanitizers
    CC=clang CXX=clang++ cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Check \
        -DCMAKE_CXX_FLAGS_CHECK="-O1 -gline-tables-only" -DKALVEX_SANITIZE="$2" \
        -DKALVEX_BENCHMARKS=OFF >/dev/null
}

asan() {
    configure build/asan address,undefined
    nice cmake --build build/asan -j"$jobs"
    ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
    LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1 \
        ctest --test-dir build/asan --output-on-failure -j"$jobs"
}

# The threads: the serial line's event thread (link tests), the simulator's (sim tests), both
# at once in the engine's end-to-end tests and in the window tests that run the program against
# the simulator. The first binaries run whole. The window tests run about three times slower
# under ThreadSanitizer, so only their suites that start and stop the line (start-up, settings),
# take unsolicited frames (read-outs) and run transactions back to back (devices test) run
# here; asan runs all of them.
tsan_whole=(link_serial_line_test link_decoder_link_test link_register_access_test sim_bus_test
            sim_engine_end_to_end_test)
tsan_windows=(app_shell_test models_editors_test tools_windows_test)
tsan_window_suites=(ShellTest ReadOutTest DevicesTest)
# Counts the threads of the process, and ThreadSanitizer adds one of its own.
tsan_skip='^SerialLineTest\.AnUnpluggedDeviceEndsTheEventThreadAndFailsTheNextWrite$'

tsan() {
    configure build/tsan thread
    nice cmake --build build/tsan -j"$jobs" --target "${tsan_whole[@]}" "${tsan_windows[@]}"
    export TSAN_OPTIONS="halt_on_error=1:abort_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp"
    local suites=("${tsan_window_suites[@]}") t
    for t in "${tsan_whole[@]}"; do
        mapfile -t -O "${#suites[@]}" suites < <(build/tsan/bin/"$t" --gtest_list_tests | sed -n 's/^\([^ ].*\)\.$/\1/p')
    done
    local IFS='|'
    ctest --test-dir build/tsan --output-on-failure -j"$jobs" -R "^(${suites[*]})\." -E "$tsan_skip"
}

for step in "${steps[@]}"; do
    case $step in
    asan | tsan) "$step" ;;
    *) echo "usage: $0 [asan] [tsan]" >&2; exit 2 ;;
    esac
done
