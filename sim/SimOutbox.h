#pragma once
// Bytes waiting to leave for the program, each chunk at its own time. With pacing on, bytes
// leave one by one at the line's rate instead of all at once.

#include "SimFaults.h"

#include <deque>
#include <functional>

namespace kalvex::sim {

// 9600 baud with 12 bits a byte (start, 8 data, parity, 2 stop).
constexpr auto ByteTime = std::chrono::microseconds(1250);

class Outbox {
public:
    using Writer = std::function<void(const uint8_t* bytes, size_t count)>;

    void Add(Clock::time_point due, Chunk chunk);
    void SetPacing(bool on) { pacing_ = on; }
    bool Pacing() const { return pacing_; }
    std::optional<Clock::time_point> NextDue() const;
    // Writes what is due; returns the frames completed, in order.
    std::vector<Frame> Flush(Clock::time_point now, const Writer& write);

private:
    struct Item {
        Clock::time_point due;
        Chunk chunk;
    };
    std::deque<Item> items_; // by due time, first come first within one time
    bool pacing_ = false;
    Clock::time_point lineFree_{};
};

} // namespace kalvex::sim
