#!/usr/bin/env bash
# Builds the tests with sanitizers (clang, -O1) and runs them; any sanitizer report fails the
# test it happens in.
#   asan  every test, with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer
#         (build/asan)
#   tsan  the tests that run threads, with ThreadSanitizer (build/tsan)
#   tsan-windows  also the window suites that exercise those threads (slow; not in .ci/run)
# Usage: scripts/sanitize.sh [asan] [tsan] [tsan-windows]   (asan and tsan when none is given)
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

# Runs ctest in a build folder with the sanitizers' reports going to files there. A test that
# fails for another reason gets a second try: the sanitizers slow the program down enough for
# a decoder's reply to miss its 250 ms window now and then on a busy machine. Any report
# fails the step, on whichever try it came.
run_tests() { # folder ctest-arguments...
    local dir=$1 reports=$1/sanitizer-reports status=0
    shift
    rm -rf "$reports"
    mkdir -p "$reports"
    ASAN_OPTIONS=$ASAN_OPTIONS:log_path=$reports/asan \
    UBSAN_OPTIONS=$UBSAN_OPTIONS:log_path=$reports/ubsan \
    TSAN_OPTIONS=$TSAN_OPTIONS:log_path=$reports/tsan \
        ctest --test-dir "$dir" --output-on-failure -j"$jobs" --repeat until-pass:2 "$@" || status=$?
    if [[ -n $(ls -A "$reports") ]]; then
        for r in "$reports"/*; do
            echo "---- $r"
            cat "$r"
        done
        echo "Sanitizer reports: $(ls "$reports" | wc -l) (in $reports)"
        return 1
    fi
    return "$status"
}

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export TSAN_OPTIONS="halt_on_error=1:abort_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp"

asan() {
    configure build/asan address,undefined
    nice cmake --build build/asan -j"$jobs"
    run_tests build/asan
}

# The threads: the serial line's event thread (link tests), the simulator's (sim tests), and
# both at once in the engine's end-to-end tests. These binaries run whole.
tsan_whole=(link_serial_line_test link_decoder_link_test link_register_access_test sim_bus_test
            sim_engine_end_to_end_test)
# The window tests run the same threads through the program's windows. Under ThreadSanitizer
# they need the whole program built and run several times slower, long enough for a decoder's
# reply to miss its 250 ms window on a busy machine, so they are not part of .ci/run;
# "tsan-windows" runs the suites that start and stop the line, take unsolicited read-outs and
# run transactions back to back, one test at a time.
tsan_windows=(app_shell_test models_editors_test tools_windows_test)
tsan_window_suites='^(ShellTest|ReadOutTest|DevicesTest)\.'
# They count the threads of the process, and ThreadSanitizer adds one of its own.
tsan_skip='^SerialLineTest\.(AnUnpluggedDeviceEndsTheEventThreadAndFailsTheNextWrite|AnEventThreadThatCannotStartFailsTheOpenAndLetsGoOfTheDevice)$'
tsan() {
    configure build/tsan thread
    nice cmake --build build/tsan -j"$jobs" --target "${tsan_whole[@]}"
    local suites=() t
    for t in "${tsan_whole[@]}"; do
        mapfile -t -O "${#suites[@]}" suites < <(build/tsan/bin/"$t" --gtest_list_tests | sed -n 's/^\([^ ].*\)\.$/\1/p')
    done
    local IFS='|'
    run_tests build/tsan -R "^(${suites[*]})\." -E "$tsan_skip"
}

tsan-windows() {
    configure build/tsan thread
    nice cmake --build build/tsan -j"$jobs" --target "${tsan_windows[@]}"
    jobs=1 run_tests build/tsan -R "$tsan_window_suites"
}

for step in "${steps[@]}"; do
    case $step in
    asan | tsan | tsan-windows) "$step" ;;
    *) echo "usage: $0 [asan] [tsan] [tsan-windows]" >&2; exit 2 ;;
    esac
done
