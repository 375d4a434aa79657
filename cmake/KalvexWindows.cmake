# The Windows build (MinGW-w64 on Linux, scripts/windows.sh): the program's resource (icon and
# version) and where the compiler's and Qt's run-time files are.
#
# KALVEX_WINDOWS_TESTS: also the tests that run under Wine (scripts/test-windows.sh).

option(KALVEX_WINDOWS_TESTS "Build the Windows tests (GoogleTest from /usr/src/googletest)" OFF)

string(REPLACE "." "," KALVEX_VERSION_COMMAS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
set(KALVEX_ICON ${PROJECT_SOURCE_DIR}/packaging/icons/kalvex.ico)
set(KALVEX_WINDOWS_RC ${CMAKE_BINARY_DIR}/kalvex.rc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/kalvex.rc.in ${KALVEX_WINDOWS_RC} @ONLY)

# The compiler's run-time libraries, shipped beside the program.
string(REGEX MATCH "^[0-9]+" kalvex_gcc_major ${CMAKE_CXX_COMPILER_VERSION})
set(KALVEX_MINGW_RUNTIME_DIRS /usr/lib/gcc/x86_64-w64-mingw32/${kalvex_gcc_major}-posix
    /usr/x86_64-w64-mingw32/lib)
set(KALVEX_MINGW_RUNTIME
    /usr/lib/gcc/x86_64-w64-mingw32/${kalvex_gcc_major}-posix/libstdc++-6.dll
    /usr/lib/gcc/x86_64-w64-mingw32/${kalvex_gcc_major}-posix/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
# Qt's folder: the one its CMake package came from (…/lib/cmake/Qt6).
get_filename_component(KALVEX_QT_PREFIX ${Qt6_DIR}/../../.. ABSOLUTE)
