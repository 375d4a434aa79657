#pragma once
// The bus: which decoder a frame from the program reaches, and the read-out conversation.
// No I/O and no locking; the simulator feeds it frames and the clock, and puts what it emits
// on the line.
//
// At most one decoder is in programming mode at a time: the one whose read-out (button or
// programming request) or announcement came last. It answers the requests it understands until
// its closing frame arrives or its read-out times out.

#include "SimInstallation.h"

#include <chrono>
#include <optional>
#include <vector>

namespace kalvex::sim {

using Clock = std::chrono::steady_clock;

// A read-out frame waits this long for its acknowledgement before the decoder gives up.
constexpr auto AcknowledgementTimeout = std::chrono::milliseconds(1000);
// The two frames of an announcement pair leave this far apart, so that the program takes them
// as two frames.
constexpr auto AnnouncementGap = std::chrono::milliseconds(50);

struct Emission {
    Frame frame;
    int decoder;
    bool reply;              // the answer to a request or query (faults act on these only)
    uint8_t requestRegister; // b1 of the request answered
    Clock::duration delay{};
};

class Bus {
public:
    explicit Bus(Installation& installation) : inst_(installation) {}

    std::vector<Emission> Receive(const Frame& f, Clock::time_point now);
    // A digitizer's button announces it; any other decoder starts its read-out.
    std::vector<Emission> PressButton(int decoder, Clock::time_point now);
    // Ends a read-out whose acknowledgement is overdue.
    void Tick(Clock::time_point now);
    std::optional<Clock::time_point> NextDeadline() const;

    int Programming() const { return programming_; }
    bool ReadingOut() const { return readOut_.has_value(); }

private:
    struct ReadOut {
        int decoder;
        std::vector<Frame> frames;
        size_t next; // frame awaiting its acknowledgement
        Clock::time_point deadline;
    };

    std::vector<Emission> StartReadOut(int decoder, Clock::time_point now);
    std::vector<Emission> SendNext(Clock::time_point now);
    int ServingDecoder(uint16_t code) const;

    Installation& inst_;
    int programming_ = -1;
    std::optional<ReadOut> readOut_;
};

} // namespace kalvex::sim
