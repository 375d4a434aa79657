#!/usr/bin/env bash
# Builds the Debian package into build/package/: a release build with Debian's hardening
# flags, of only what goes into the package, then CPack. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
KALVEX_INSTALL_ONLY=1 ./scripts/bootstrap.sh
# dpkg-buildflags and dpkg-shlibdeps; file is how CPack tells the programs to strip.
./scripts/need-packages.sh dpkg-dev file

dir=build/package
# Every hardening feature Debian has, bindnow included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The install step must not build the tests and benchmarks first.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DKALVEX_BENCHMARKS=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
nice cmake --build "$dir" -j"$(nproc)" --target kalvex kalvex_packaging
rm -f "$dir"/kalvex_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/kalvex_*.deb
