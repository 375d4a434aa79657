#pragma once
// The input queue of a serial line: filled by the port's event thread, read by the
// user-interface thread. It is the only data the two share, and it has its own lock.

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

using TLineClock = std::chrono::steady_clock;

// One read from the device, as it waits in the input queue.
struct TInputArrival {
    int Count;                        // its bytes still waiting
    TLineClock::time_point At;        // when the event thread read them
    TLineClock::duration QuietBefore; // how long the thread had found the line idle before
};

class TLineInputQueue {
public:
    // Empties the queue and sets what Append keeps: at most limit bytes waiting, and no NUL
    // bytes when discardNull is set. Called while no event thread runs.
    void Reset(int limit, bool discardNull);
    // Event thread: bytes just read from the device.
    void Append(const uint8_t* bytes, int count, TLineClock::time_point at,
                TLineClock::duration quietBefore);

    // Takes up to count bytes from the front; returns how many.
    int Read(uint8_t* out, int count);
    int Size();
    std::vector<TInputArrival> Arrivals();

private:
    std::mutex lock_;
    std::deque<uint8_t> bytes_;
    std::deque<TInputArrival> arrivals_; // their counts add up to bytes_.size()
    int limit_ = 0;
    bool discardNull_ = false;
};
