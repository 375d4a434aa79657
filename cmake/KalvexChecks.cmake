# Build options of the engineering checks (scripts/sanitize.sh, scripts/fuzz.sh).
#
# KALVEX_SANITIZE: comma-separated sanitizers for every target, e.g. "address,undefined" or
#   "thread". A sanitizer report aborts the program: a test that provokes one fails.
# KALVEX_FUZZ: also configure the libFuzzer targets of tests/fuzz (clang only). Combine with
#   KALVEX_SANITIZE=address,undefined.
# KALVEX_BENCHMARKS: the benchmarks; the check builds leave them out to save time.

set(KALVEX_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined or thread")
option(KALVEX_FUZZ "Build the libFuzzer targets (clang)" OFF)
option(KALVEX_BENCHMARKS "Build the benchmarks" ON)

if(KALVEX_SANITIZE)
  add_compile_options(-fsanitize=${KALVEX_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${KALVEX_SANITIZE})
endif()

if(KALVEX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KALVEX_FUZZ needs clang (libFuzzer): configure with CMAKE_CXX_COMPILER=clang++")
  endif()
  # Coverage feedback for the code under test; only the fuzz programs link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
