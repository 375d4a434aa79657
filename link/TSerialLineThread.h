#pragma once
// The event thread of an open port (see the threading contract in USerialLine.h).

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

using TLineClock = std::chrono::steady_clock;

// The port as its event thread sees it, and all that the thread may touch of it.
class TSerialLineEvents {
public:
    // On the event thread: bytes just read from the device, when they were read, and how long
    // the thread had found the line idle just before them. Must be safe against the
    // user-interface thread.
    virtual void InputArrived(const uint8_t* bytes, int count, TLineClock::time_point at,
                              TLineClock::duration quietBefore) = 0;
    // On the user-interface thread, once per hand-over: runs the received-character handlers.
    virtual void RxCharHandedOver() = 0;

protected:
    ~TSerialLineEvents() = default;
};

class TSerialLineThread {
public:
    // Nothing runs until Start. handOverRxChar is the received-character bit of the event mask
    // as it was when the port opened.
    TSerialLineThread(TSerialLineEvents& port, int deviceFd, bool handOverRxChar);
    ~TSerialLineThread(); // stops and joins
    TSerialLineThread(const TSerialLineThread&) = delete;
    TSerialLineThread& operator=(const TSerialLineThread&) = delete;

    // Creates the stop event and the thread: 0, or the errno of what failed (then nothing
    // runs and nothing is left open).
    int Start();
    // Called on the user-interface thread: ends the loop, also a wait for a hand-over in
    // flight, and joins the thread. Safe to call more than once.
    void Stop();
    // True once the loop has ended because the device failed or went away.
    bool DeviceGone() const;

private:
    // State shared with the hand-overs queued to the user-interface thread; it outlives the
    // thread so that a hand-over still queued after Stop finds it and does nothing.
    struct HandOver {
        std::mutex lock;
        std::condition_variable done;
        bool handled = false;
        bool stopped = false; // set by Stop, on the user-interface thread
        bool deviceGone = false;
    };

    void Run();
    // Hands the received-character event over and blocks until it has been handled or the
    // thread is stopped. Returns false when stopped.
    bool HandOverRxChar();

    TSerialLineEvents& port_;
    const int fd_;
    const bool handOverRxChar_;
    int stopFd_ = -1;
    std::shared_ptr<HandOver> state_;
    // Lives on the user-interface thread: hand-overs are queued to it, and those still queued
    // when it goes are dropped with it.
    QObject receiver_;
    std::thread thread_;
};
