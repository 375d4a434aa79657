#pragma once
// What the fuzz targets share: a property that fails stops the run with its name, so that
// libFuzzer keeps the input and the message says what broke.

#include <cstdio>
#include <cstdlib>

namespace kalvex::fuzz {

inline void Check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

} // namespace kalvex::fuzz
