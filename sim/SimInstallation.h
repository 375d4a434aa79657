#pragma once
// A virtual installation: the decoders on the bus with their memory, read from and written to
// a human-readable text file (format in README.md).

#include "SimModels.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvex::sim {

// How a decoder misbehaves for good (the file's `quirk`), unlike the faults a test switches on.
enum class Quirk {
    None,
    IgnoresRequests, // answers queries, but a programming request leaves it as it was
    NoReadOut,       // takes a programming request into programming mode, sends nothing
    StopsHalfway,    // its read-out stops after half its data frames
    Noisy,           // every other reply it sends has a stray byte in front
};

struct Decoder {
    std::string name;
    const Model* model = nullptr;
    std::vector<uint16_t> serves; // device codes answered by 0x70 queries and 0x50 10 requests
    Quirk quirk = Quirk::None;
    int replies = 0; // replies sent, for the noisy one
    std::array<uint8_t, 256> memory;

    Decoder() { memory.fill(0xFF); }
    // High byte in the even register, low byte in the next, as a 0xB0 write stores them.
    uint16_t Word(uint8_t reg) const {
        return uint16_t(memory[reg] << 8 | memory[uint8_t(reg + 1)]);
    }
    void SetWord(uint8_t reg, uint16_t w) {
        memory[reg] = uint8_t(w >> 8);
        memory[uint8_t(reg + 1)] = uint8_t(w);
    }
};

struct Installation {
    std::string path; // the file it was loaded from; empty when parsed from a string
    std::vector<Decoder> decoders;
};

// A malformed installation: the message names the file, the line and the fault.
class InstallationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// fileName only labels the messages.
Installation ParseInstallation(const std::string& text, const std::string& fileName);
Installation LoadInstallation(const std::string& path);

// One section per decoder, every key written, so that parsing it gives the same memory.
std::string FormatDecoder(const Decoder& d);
std::string FormatInstallation(const Installation& inst);
// Replaces the file atomically (temporary file in the same folder, then rename).
void SaveInstallation(const Installation& inst, const std::string& path);

} // namespace kalvex::sim
