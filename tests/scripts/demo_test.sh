#!/usr/bin/env bash
# scripts/demo.sh without a display leaves no process behind, however it ends: the program
# failing to start, the program ending, Ctrl+C.
# Usage: demo_test.sh <folder of the built kalvex and kalvex-bus-sim>
set -uo pipefail
bin=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
# Job control: each demo runs in a process group of its own, as in a terminal, so whatever it
# started is found by that group and Ctrl+C reaches the group as a terminal would send it.
set -m
ulimit -c 0 # the program that cannot start aborts: no core file
demo=""
cleanup() {
    [[ -n $demo ]] && kill -KILL -- "-$demo" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0

# Up to ten seconds for the command to succeed.
wait_for() {
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
program_running() { pgrep -g "$demo" -x kalvex >/dev/null; }
demo_ended() { ! kill -0 "$demo" 2>/dev/null; }

start_demo() { # name platform
    KALVEX_DEMO_BIN="$bin" KALVEX_DEMO_DIR="$work/$1" QT_QPA_PLATFORM=$2 \
        "$root/scripts/demo.sh" </dev/null >"$work/$1.log" 2>&1 &
    demo=$!
}

# The demo has ended within ten seconds and nothing of its process group is left.
expect_nothing_left() { # name
    if ! wait_for demo_ended; then
        echo "FAIL $1: the demo did not end" >&2
        failures=$((failures + 1))
    fi
    wait "$demo" 2>/dev/null
    sleep 0.2 # a process being ended by the trap has its moment to go
    local left
    left=$(pgrep -g "$demo" -a)
    if [[ -n $left ]]; then
        echo "FAIL $1: left running:" >&2
        echo "$left" >&2
        sed 's/^/    /' "$work/$1.log" >&2
        failures=$((failures + 1))
    fi
    kill -KILL -- "-$demo" 2>/dev/null
    demo=""
}

# The program cannot start: no such display platform.
start_demo no-start kalvex-no-such-platform
expect_nothing_left no-start

# The program ends while the demo waits for it.
start_demo program-ends offscreen
if wait_for program_running; then
    kill -TERM "$(pgrep -g "$demo" -x kalvex)"
else
    echo "FAIL program-ends: the program did not start" >&2
    failures=$((failures + 1))
fi
expect_nothing_left program-ends

# Ctrl+C in the demo's terminal: SIGINT to its whole process group.
start_demo ctrl-c offscreen
if wait_for program_running; then
    kill -INT -- "-$demo"
else
    echo "FAIL ctrl-c: the program did not start" >&2
    failures=$((failures + 1))
fi
expect_nothing_left ctrl-c

exit $((failures > 0))
