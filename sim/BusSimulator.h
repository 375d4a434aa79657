#pragma once
// kalvex::sim::BusSimulator: a virtual installation of decoders on a pseudo-terminal, run on a
// thread of its own.
//
// Threading: every public member may be called from any thread at any time; they take the
// simulator's one lock. The frame observer runs on the bus thread, outside the lock. Stop (also
// run by the destructor) waits for the bus thread; do not call it from the observer.

#include "SimBus.h"
#include "SimFaults.h"
#include "SimInstallation.h"
#include "SimOutbox.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kalvex::sim {

class Pty;

enum class Direction { FromProgram, ToProgram };

struct LogEntry {
    Direction direction;
    Frame frame;
    Clock::time_point at;
};

class BusSimulator {
public:
    explicit BusSimulator(Installation installation);
    ~BusSimulator();
    BusSimulator(const BusSimulator&) = delete;
    BusSimulator& operator=(const BusSimulator&) = delete;

    // Opens the pseudo-terminal, links linkPath to its slave and starts the bus thread.
    void Start(const std::string& linkPath);
    void Stop(); // removes the link; safe to repeat
    std::string SlavePath() const;

    int DecoderCount() const;
    // By name, or by index when no decoder has that name; std::invalid_argument if neither.
    int FindDecoder(const std::string& nameOrIndex) const;
    std::string DecoderName(int decoder) const;
    int DecoderModel(int decoder) const;
    bool InProgramming(int decoder) const;

    // The decoder's programming button: a read-out, or for the digitizer its announcement.
    void PressButton(int decoder);
    void PressButton(const std::string& nameOrIndex);
    // The first digitizer of the installation announces itself.
    void AnnounceDigitizer();
    // The decoder sends its identification frame 40 id FF FF alone, as a decoder that sends
    // it before its data frames would; nothing waits for its acknowledgement.
    void SendIdentification(const std::string& nameOrIndex);

    uint8_t Register(int decoder, uint8_t reg) const;
    uint16_t Word(int decoder, uint8_t reg) const; // reg high, reg + 1 low
    std::string Dump(int decoder) const;           // its section of the installation file

    void SetFault(const Fault& fault);
    void ClearFault(FaultKind kind, int decoder = AnyDecoder);
    void ClearFaults();
    void SetPacing(bool on);

    std::vector<LogEntry> Log() const;
    void ClearLog();
    // True when at least count frames of that direction are in the log before the timeout.
    bool WaitForFrames(Direction direction, size_t count, std::chrono::milliseconds timeout) const;
    // Called for every frame as it is logged.
    void SetFrameObserver(std::function<void(const LogEntry&)> observer);

    // Save() writes back to the file the installation was loaded from.
    void Save() const;
    void SaveTo(const std::string& path) const;

private:
    void Run();
    void Wake();
    void Emit(const std::vector<Emission>& emissions, Clock::time_point now);
    void Receive(const uint8_t* bytes, size_t count, Clock::time_point now);
    // A request (read, write, arming; not an acknowledgement, programming request, closing
    // frame or query) that the deaf fault keeps from the decoder in programming mode.
    bool Unheard(const Frame& f);
    void WriteLine(const uint8_t* bytes, size_t count);
    void Record(Direction d, const Frame& f, Clock::time_point now);
    std::optional<Clock::time_point> NextDeadline() const;
    const Decoder& At(int decoder) const;

    mutable std::mutex mutex_;
    mutable std::condition_variable logChanged_;
    Installation inst_;
    Bus bus_;
    Faults faults_;
    Outbox outbox_;
    std::vector<LogEntry> log_;
    std::vector<LogEntry> unobserved_;
    std::function<void(const LogEntry&)> observer_;
    std::vector<uint8_t> partial_; // bytes of a frame still arriving
    Clock::time_point lastByte_{};
    std::optional<Clock::time_point> noiseDue_;

    std::unique_ptr<Pty> pty_;
    int wake_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace kalvex::sim
