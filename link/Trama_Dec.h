#pragma once
// The 4-byte frame of the decoder line: requests, replies and unsolicited frames alike.

#include <array>
#include <cstddef>
#include <cstdint>

struct Trama_Dec {
    std::array<uint8_t, 4> Bytes{};

    constexpr Trama_Dec() = default;
    constexpr Trama_Dec(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) : Bytes{b0, b1, b2, b3} {}

    // As one 32-bit little-endian value: frame byte 0 is the least significant byte.
    static constexpr Trama_Dec FromValue(uint32_t v) {
        return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    }
    constexpr uint32_t Value() const {
        return uint32_t(Bytes[0]) | uint32_t(Bytes[1]) << 8 | uint32_t(Bytes[2]) << 16 |
               uint32_t(Bytes[3]) << 24;
    }

    constexpr uint8_t operator[](int i) const { return Bytes[static_cast<std::size_t>(i)]; }
    constexpr bool operator==(const Trama_Dec&) const = default;
};

// Left in the reply buffer when nothing was received.
constexpr Trama_Dec Trama_Sin_Respuesta{0x88, 0x88, 0x88, 0x88};
