# Sourced by scripts/windows.sh and scripts/test-windows.sh: the packages of the Windows build,
# its one build tree (program and tests together, so the libraries are built once) and the Wine
# set-up the tests run in. The tree is build/windows/cross: build/windows itself is the Linux
# tree's folder for windows/, and the packages are put beside it.

windows_out=build/windows
windows_build=$windows_out/cross
windows_toolchain=${KALVEX_WINDOWS_TOOLCHAIN:-$(cd .. && pwd)/shared/toolchains/mingw-w64-x86_64.cmake}

windows_configure() {
    # Qt's host tools (moc, rcc, uic) are Debian's own Qt 6.4 (QT_HOST_PATH=/usr); GoogleTest
    # for Windows is built from Debian's source package.
    ./scripts/need-packages.sh cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev-tools \
        googletest nsis
    if [[ ! -f $windows_toolchain ]]; then
        echo "No Windows toolchain at $windows_toolchain (set KALVEX_WINDOWS_TOOLCHAIN)." >&2
        exit 1
    fi
    cmake -S . -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" -DKALVEX_WINDOWS_TESTS=ON \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
}

# The Wine prefix of the tests, inside the build folder; Windows programs find Qt's and the
# compiler's libraries through WINEPATH (the packages carry their own copies).
windows_wine_env() {
    export WINEPREFIX=$PWD/$windows_build/wine
    export WINEDEBUG=-all
    # No Mono or Gecko prompts: nothing here needs them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    local qt
    qt=$(sed -n 's/^KALVEX_QT_PREFIX:[A-Z]*=//p' "$windows_build/CMakeCache.txt")
    [[ -n $qt ]] || qt=$(cd "$(dirname "$windows_toolchain")/windows-x86_64" && pwd)
    local gcc_major
    gcc_major=$(x86_64-w64-mingw32-g++-posix -dumpversion | cut -d. -f1 | cut -d- -f1)
    export WINEPATH="Z:${qt//\//\\}\\bin;Z:\\usr\\lib\\gcc\\x86_64-w64-mingw32\\${gcc_major}-posix;Z:\\usr\\x86_64-w64-mingw32\\lib"
    export QT_PLUGIN_PATH=$qt/plugins
}
