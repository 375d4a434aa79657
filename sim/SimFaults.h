#pragma once
// Faults switched on for tests: they bend the replies of chosen decoders (silence, wrong
// status, lateness, pieces, stray bytes), keep a request from reaching one (deaf) or put
// noise on the line.

#include "SimBus.h"

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kalvex::sim {

// Deaf acts on a request itself rather than on its reply: the decoder in programming mode
// does not hear it (a frame lost on the line), so it neither takes nor answers it.
enum class FaultKind { Silent, WrongStatus, Late, Split, Stray, Noise, Deaf };

constexpr int AnyDecoder = -1;

struct Fault {
    FaultKind kind;
    int decoder = AnyDecoder; // ignored for noise
    int reg = -1;             // only replies to requests whose b1 is this register; -1 = all
    int times = -1;           // replies (noise: bursts) it still affects; -1 = until off
};

// The status byte that replaces 0x20: its high nibble is not 2, so no request counts it.
constexpr uint8_t WrongStatusByte = 0x30;
// After the program's 250 ms wait.
constexpr auto LateDelay = std::chrono::milliseconds(300);
constexpr auto SplitGap = std::chrono::milliseconds(10);
constexpr uint8_t StrayByte = 0xE5;

// Bytes to put on the line after a delay; frame is set on the piece that completes a frame.
struct Chunk {
    Clock::duration delay;
    std::vector<uint8_t> bytes;
    std::optional<Frame> frame;
};

const char* FaultName(FaultKind k);
std::optional<FaultKind> FaultFromName(const std::string& name);

class Faults {
public:
    // Replaces a fault of the same kind, decoder and register; faults aimed at different
    // registers of one decoder hold together.
    void Set(const Fault& f);
    // decoder AnyDecoder clears the kind for every decoder.
    void Clear(FaultKind kind, int decoder);
    void ClearAll() { faults_.clear(); }

    // The pieces in which an emission leaves; empty when it is withheld.
    std::vector<Chunk> Shape(const Emission& e);
    // Whether the decoder does not hear a request to this register (counted as a use).
    bool Deaf(int decoder, uint8_t reg) { return Take(FaultKind::Deaf, decoder, reg); }

    bool NoiseOn() const;
    // A burst of 1 to 3 random bytes, counted against the noise fault.
    std::vector<uint8_t> NoiseBurst();
    Clock::duration NoiseGap();

private:
    // Counts the use of a matching fault; false when none applies.
    bool Take(FaultKind kind, int decoder, uint8_t reg);

    std::vector<Fault> faults_;
    std::mt19937 random_{20240611};
};

} // namespace kalvex::sim
