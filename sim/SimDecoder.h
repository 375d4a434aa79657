#pragma once
// What one decoder does with the frames addressed to it. Pure functions over its memory: the
// bus (SimBus.h) decides which decoder a frame reaches and when answers leave.

#include "SimInstallation.h"

#include <optional>
#include <vector>

namespace kalvex::sim {

// The answer of a decoder in programming mode to a request (0x6n read, 0xB0 write, 0x80
// arming, 0xDn digitizer write), or nothing when it does not understand the frame; an accepted
// write is stored in its memory.
std::optional<Frame> AnswerRequest(Decoder& d, const Frame& request);

// A read-out: one data frame 00 i low high per value, then the identification frame 40 id FF FF.
std::vector<Frame> ReadOutFrames(const Decoder& d);

// The digitizer's announcement 5p FF FF k, with its current panel p and block k.
Frame Announcement(const Decoder& d);

bool Serves(const Decoder& d, uint16_t code);

// The frame that acknowledges f: 20 b0 b2 b3.
constexpr Frame Acknowledgement(const Frame& f) {
    return {0x20, f[0], f[2], f[3]};
}

} // namespace kalvex::sim
