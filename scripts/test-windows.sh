#!/usr/bin/env bash
# Builds the Windows program and tests (scripts/windows.sh's build folder) and proves them under
# Wine, in a Wine prefix inside build/windows:
#  1. the Windows tests with CTest (every test that needs no pseudo-terminal of its own);
#  2. the line end to end: the simulator on a pseudo-terminal that Wine maps to COM5, and a
#     Windows program driving the program's decoder link through the Win32 serial layer; the
#     simulator's trace must be the expected one byte for byte;
#  3. kalvex.exe --check in each language, from the zip unpacked into a new folder;
#  4. the installer: its file list against the zip's, then installed, started and uninstalled.
# It runs scripts/windows.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-common.sh
# NSIS's installer stub is a 32-bit program: Wine runs it with its 32-bit half.
./scripts/need-packages.sh wine wine64 wine32:i386 p7zip-full
./scripts/windows.sh >/dev/null
cmake --build "$windows_build" -j"$(nproc)" --target kalvex_windows_tests
# The simulator is a Linux program.
./scripts/bootstrap.sh build RelWithDebInfo kalvex-bus-sim >/dev/null

windows_wine_env
work=$(mktemp -d)
sim_pid=
cleanup() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Wine's COM5 is a link to the simulator's pseudo-terminal; the mapping is read when the Wine
# server starts. (COM1 is avoided: Wine makes its link again at every start.)
link=$work/tty
if [[ ! -d $WINEPREFIX ]]; then
    echo "== wine prefix"
    # Without the search path: the 32-bit half would take the 64-bit libraries on it for its own.
    env -u WINEPATH wineboot -i >/dev/null 2>&1
fi
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$link" /f >/dev/null
wineserver -w
# The Wine server and its services start here, once, away from CTest's output pipes: started by
# a test, they would keep its pipes open and CTest would wait for them until the time-out.
wineserver -p >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1

echo "== windows tests"
# With its heap checks on, Wine fills every freed block and checks the heap at each call, so a
# use after free fails here every time rather than one run in three.
WINEDEBUG=-all,warn+heap ctest --test-dir "$windows_build" --output-on-failure -j"$(nproc)"

echo "== line end to end (COM5)"
# A pseudo-terminal has neither parity nor line error counters; without this preloaded library
# Wine would refuse the 8-O-2 settings (error 87) and fail every WaitCommEvent with EV_ERR.
# Pseudo-terminals only.
g++ -O2 -shared -fPIC -o "$work/pty_parity.so" scripts/wine/pty_parity.cpp -ldl
mkfifo "$work/control"
build/bin/kalvex-bus-sim --trace tests/win32/line_e2e.ini "$link" <"$work/control" \
    >"$work/sim.out" 2>"$work/trace" &
sim_pid=$!
exec 3>"$work/control"
for _ in $(seq 100); do
    [[ -s $work/sim.out ]] && break
    sleep 0.1
done
echo "fault silent on hall reg=04" >&3
# Bounded: a reply wait that never ends would otherwise hold the whole run.
LD_PRELOAD=$work/pty_parity.so timeout 120 wine "$windows_build/bin/kalvex_line_e2e.exe" COM5
echo quit >&3
exec 3>&-
wait "$sim_pid" || true
sim_pid=
# The frames as the simulator saw them, without their times, each direction in its order.
sed -E 's/^ *[0-9.]+ ms //' "$work/trace" >"$work/frames"
{ grep '^<-' "$work/frames" || true; grep '^->' "$work/frames" || true; } >"$work/by-direction"
grep -v '^#' tests/win32/line_e2e.expected | diff -u - "$work/by-direction"
echo "the simulator saw $(wc -l <"$work/frames") frames, byte for byte as expected"

echo "== kalvex.exe --check from the zip"
zip=$(ls "$windows_out"/kalvex-*-windows-x86_64.zip)
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$OLDPWD/$zip")
for idioma in ENGLISH ESPAÑOL FRANÇAIS DEUTSCH; do
    config=$work/config-$idioma
    mkdir -p "$config"
    printf '[General]\r\nIdioma=%s\r\n' "$idioma" | iconv -f UTF-8 -t WINDOWS-1252 >"$config/KALVEX.INI"
    # Only the zip's own libraries: no WINEPATH, no plugin path.
    env -u WINEPATH -u QT_PLUGIN_PATH KALVEX_CONFIG_DIR="$(winepath -w "$config")" \
        KALVEX_DATA_DIR="$(winepath -w "$work/data-$idioma")" \
        timeout 120 wine "$work/zip/Kalvex/kalvex.exe" --check
done
env -u WINEPATH -u QT_PLUGIN_PATH wine "$work/zip/Kalvex/kalvex.exe" --version

echo "== installer"
setup=$(ls "$windows_out"/Kalvex-*-setup.exe)
# The installer's own files (its plug-ins, the uninstaller it writes) aside.
7z l "$setup" | sed -n '/^-----/,/^-----/p' | grep -v '^-----' | awk '{print $NF}' |
    grep -v -e '^\$PLUGINSDIR/' -e '^uninstall.exe$' | sort >"$work/setup-files"
(cd "$work/zip/Kalvex" && find . -type f | sed 's|^\./||' | sort) >"$work/zip-files"
diff -u "$work/zip-files" "$work/setup-files"
echo "$(basename "$setup"): $(du -k "$setup" | cut -f1) KiB, the zip's $(wc -l <"$work/zip-files") files"

echo "== installer under Wine"
# Silent, as an administrator's deployment would run it; then what the Start menu and Apps &
# features see, the installed program's own check, and the uninstaller leaving nothing behind.
env -u WINEPATH -u QT_PLUGIN_PATH wine "$setup" /S
installed=$WINEPREFIX/drive_c/Program\ Files/Kalvex
(cd "$installed" && find . -type f | sed 's|^\./||' | grep -v '^uninstall.exe$' | sort) >"$work/installed-files"
diff -u "$work/zip-files" "$work/installed-files"
[[ -f $WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Kalvex.lnk ]]
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvex'
version=$(basename "$setup" -setup.exe)
wine reg query "$uninstall_key" /reg:64 | grep -q "DisplayVersion *REG_SZ *${version#Kalvex-}"
env -u WINEPATH -u QT_PLUGIN_PATH KALVEX_CONFIG_DIR="$(winepath -w "$work/config-ENGLISH")" \
    KALVEX_DATA_DIR="$(winepath -w "$work/data-installed")" \
    timeout 120 wine "C:\\Program Files\\Kalvex\\kalvex.exe" --check >/dev/null
# The uninstaller runs on from a copy of itself in the temporary folder, which removes the
# folder it came from.
env -u WINEPATH -u QT_PLUGIN_PATH wine "C:\\Program Files\\Kalvex\\uninstall.exe" /S
for _ in $(seq 300); do
    [[ -e $installed ]] || break
    sleep 0.1
done
if [[ -e $installed ]] || wine reg query "$uninstall_key" /reg:64 >/dev/null 2>&1; then
    echo "the uninstaller left Kalvex behind" >&2
    exit 1
fi
echo "installed into Program Files, started, uninstalled: nothing left"
