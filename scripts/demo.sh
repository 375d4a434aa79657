#!/usr/bin/env bash
# Runs Kalvex against the simulated installation of sim/installations/demo.ini.
# This terminal becomes the simulator's control console: type "press entrance" (or another
# decoder's name, "list" shows them) to press that decoder's programming button.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the demo runs: the tests and benchmarks are left to scripts/test.sh. A test of
# this script names the folder its programs are already built in (KALVEX_DEMO_BIN).
bin=${KALVEX_DEMO_BIN:-}
if [[ -z $bin ]]; then
    ./scripts/bootstrap.sh build RelWithDebInfo kalvex kalvex-bus-sim
    bin=build/bin
fi

demo_dir=${KALVEX_DEMO_DIR:-/tmp/kalvex-demo}
tty_link="$demo_dir/tty"
config_dir="$demo_dir/config"
mkdir -p "$config_dir"

# The demo's own settings: the port is the simulator's; the language chosen last time stays.
settings="$config_dir/KALVEX.INI"
idioma=ENGLISH
if [[ -f $settings ]]; then
    idioma=$(sed -n 's/^Idioma=//p' "$settings" | tr -d '\r' | head -n1)
    idioma=${idioma:-ENGLISH}
fi
printf '[General]\r\nSys_Port=%s\r\nIdioma=%s\r\n' "$tty_link" "$idioma" > "$settings"

# Whatever ends the demo (the program closed or failed to start, Ctrl+C) ends what it started.
# Every step is tried: a program that has already ended fails its kill, which under set -e
# would leave the trap before the simulator.
sim_pid=""
kalvex_pid=""
stop_all() {
    set +e
    [[ -n $kalvex_pid ]] && kill "$kalvex_pid" 2>/dev/null
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null
    wait 2>/dev/null
}
trap stop_all EXIT
trap 'exit 130' INT TERM

control=$(mktemp -u "$demo_dir/control.XXXXXX")
mkfifo "$control"
"$bin/kalvex-bus-sim" --pace sim/installations/demo.ini "$tty_link" < "$control" &
sim_pid=$!
exec 3> "$control"
rm -f "$control"

for _ in $(seq 100); do
    [[ -e $tty_link ]] && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "The simulator did not start." >&2; exit 1; }
    sleep 0.05
done

echo "Kalvex is starting. Commands for the simulated installation: list, press <decoder>, announce, help."
# The simulated installation is recorded beside it, not into the user's own installation.
KALVEX_CONFIG_DIR="$config_dir" KALVEX_DATA_DIR="$demo_dir/data" "$bin/kalvex" &
kalvex_pid=$!
while kill -0 "$kalvex_pid" 2>/dev/null; do
    if read -r -t 1 line; then
        echo "$line" >&3
    elif (($? <= 128)); then
        sleep 1 # no console (input closed): just wait for Kalvex to end
    fi
done
wait "$kalvex_pid"
