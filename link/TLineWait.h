#pragma once
// What the event thread waits on, for each operating system (TLineWait_posix.cpp,
// TLineWait_win.cpp): the open device and a stop event; and the hand-over event that wakes the
// user-interface thread. The thread's rules (TSerialLineThread) are the same everywhere.

#include <cstdint>
#include <functional>
#include <memory>

class TLineWait {
public:
    // device: the open device's SerialDevice::NativeHandle().
    explicit TLineWait(std::intptr_t device);
    ~TLineWait(); // closes the events
    TLineWait(const TLineWait&) = delete;
    TLineWait& operator=(const TLineWait&) = delete;

    // User-interface thread, before the event thread starts: creates the stop and hand-over
    // events. handOver runs on this thread, wherever it serves its events, each time the
    // hand-over event is signalled. 0, or the system's error number (then nothing is left).
    int Create(std::function<void()> handOver);

    enum class Outcome {
        Bytes,   // count bytes were read into the buffer
        Stopped, // Stop was called
        Gone,    // the device failed or went away; waiting on it again would spin
        Nothing, // woken without either (an interrupted wait): wait again
    };
    // Event thread: waits until bytes arrive, the stop event is signalled or the device fails.
    Outcome Wait(uint8_t* buffer, int size, int& count);

    // Any thread: ends the current and every later Wait.
    void Stop();
    // Event thread: wakes the user-interface thread.
    void SignalHandOver();
    // User-interface thread, from handOver: takes the signal, so that it fires again only
    // when signalled again.
    void TakeHandOver();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
