#pragma once
// The event thread of an open port (see the threading contract in USerialLine.h).

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class TCustomSerialLine;

class TSerialLineThread {
public:
    TSerialLineThread(TCustomSerialLine& owner, int deviceFd);
    ~TSerialLineThread(); // stops and joins
    TSerialLineThread(const TSerialLineThread&) = delete;
    TSerialLineThread& operator=(const TSerialLineThread&) = delete;

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

    TCustomSerialLine& owner_;
    int fd_;
    int stopFd_;
    std::shared_ptr<HandOver> state_;
    std::thread thread_;
};
