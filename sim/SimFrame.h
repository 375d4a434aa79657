#pragma once
// The 4-byte frame of the decoder line, as the decoders see it: b0 b1 b2 b3 in line order.
// A 16-bit data word travels low byte first (b2), high byte second (b3).

#include <array>
#include <cstdint>
#include <string>

namespace kalvex::sim {

using Frame = std::array<uint8_t, 4>;

constexpr uint16_t DataWord(const Frame& f) {
    return uint16_t(f[3] << 8 | f[2]);
}

// "B0 02 34 12": upper-case hexadecimal pairs separated by blanks.
std::string ToHex(const Frame& f);

} // namespace kalvex::sim
