#include "SimFrame.h"

#include <cstdio>

namespace kalvex::sim {

std::string ToHex(const Frame& f) {
    char text[12];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", f[0], f[1], f[2], f[3]);
    return text;
}

} // namespace kalvex::sim
