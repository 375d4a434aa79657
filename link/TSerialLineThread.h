#pragma once
// The event thread of an open port (see the threading contract in USerialLine.h).

#include "TLineInputQueue.h"
#include "TLineWait.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// All that the thread reaches of its port: the input queue, which has its own lock, and the
// received-character handlers, which it only asks the user-interface thread to run.
class TSerialLineThread {
public:
    // Nothing runs until Start. rxChar runs on the user-interface thread, once per hand-over,
    // and only when handOverRxChar (the received-character bit of the event mask as it was
    // when the port opened) is set.
    // gone runs on the user-interface thread, once, when the loop has ended because the
    // device failed or went away.
    // device is the open device's SerialDevice::NativeHandle().
    TSerialLineThread(TLineInputQueue& input, std::function<void()> rxChar, std::intptr_t device,
                      bool handOverRxChar, std::function<void()> gone = {});
    ~TSerialLineThread(); // stops and joins
    TSerialLineThread(const TSerialLineThread&) = delete;
    TSerialLineThread& operator=(const TSerialLineThread&) = delete;

    // Creates the stop and hand-over events and the thread: 0, or the system's error number of
    // what failed (then nothing runs and nothing is left open).
    int Start();
    // Called on the user-interface thread: ends the loop, also a wait for a hand-over in
    // flight, and joins the thread. Safe to call more than once.
    void Stop();
    // True once the loop has ended because the device failed or went away.
    bool DeviceGone() const;

private:
    void Run();
    // Event thread: hands the received-character event over and blocks until it has been
    // handled or the thread is stopped. Returns false when stopped.
    bool HandOverRxChar();
    // User-interface thread, when the hand-over event fires.
    void ServeHandOver();

    TLineInputQueue& input_;
    const std::function<void()> rxChar_;
    const bool handOverRxChar_;
    const std::function<void()> gone_;
    // The hand-over event is signalled by the thread for each hand-over and watched on the
    // user-interface thread, so a hand-over is served wherever that thread serves its events.
    TLineWait wait_;

    mutable std::mutex lock_;
    std::condition_variable done_;
    bool pending_ = false;    // a hand-over waits to be served
    bool stopped_ = false;    // set by Stop
    bool deviceGone_ = false; // set by the thread as it ends
    bool goneTold_ = false;
    std::thread thread_;
};
