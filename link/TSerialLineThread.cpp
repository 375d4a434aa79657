#include "TSerialLineThread.h"

#include <cerrno>
#include <system_error>

TSerialLineThread::TSerialLineThread(TLineInputQueue& input, std::function<void()> rxChar,
                                     std::intptr_t device, bool handOverRxChar,
                                     std::function<void()> gone)
    : input_(input), rxChar_(std::move(rxChar)), handOverRxChar_(handOverRxChar),
      gone_(std::move(gone)), wait_(device) {}

TSerialLineThread::~TSerialLineThread() {
    Stop();
}

int TSerialLineThread::Start() {
    if (thread_.joinable())
        return 0;
    if (int err = wait_.Create([this] { ServeHandOver(); }))
        return err;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        return e.code().value() > 0 ? e.code().value() : EAGAIN;
    }
    return 0;
}

void TSerialLineThread::Stop() {
    {
        std::lock_guard<std::mutex> g(lock_);
        stopped_ = true;
    }
    done_.notify_all();
    wait_.Stop();
    if (thread_.joinable())
        thread_.join();
}

bool TSerialLineThread::DeviceGone() const {
    std::lock_guard<std::mutex> g(lock_);
    return deviceGone_;
}

void TSerialLineThread::Run() {
    uint8_t chunk[512];
    // From when the line has been seen idle: bytes that were already waiting when the thread
    // came back from a hand-over have no silence before them that the thread saw.
    TLineClock::time_point quietSince = TLineClock::now();
    for (;;) {
        int n = 0;
        const TLineWait::Outcome outcome = wait_.Wait(chunk, sizeof chunk, n);
        if (outcome == TLineWait::Outcome::Stopped)
            return;
        // Ending on a device that went away keeps the thread from spinning on it.
        if (outcome == TLineWait::Outcome::Gone)
            break;
        if (outcome != TLineWait::Outcome::Bytes)
            continue;
        const TLineClock::time_point now = TLineClock::now();
        input_.Append(chunk, n, now, now - quietSince);
        quietSince = now;
        if (handOverRxChar_) {
            if (!HandOverRxChar())
                return;
            quietSince = TLineClock::now();
        }
    }
    std::lock_guard<std::mutex> g(lock_);
    deviceGone_ = true;
    // Wakes the user-interface thread, so the loss is known at once and not only at the next
    // write.
    wait_.SignalHandOver();
}

bool TSerialLineThread::HandOverRxChar() {
    std::unique_lock<std::mutex> g(lock_);
    if (stopped_)
        return false;
    pending_ = true;
    wait_.SignalHandOver();
    done_.wait(g, [&] { return !pending_ || stopped_; });
    return !stopped_;
}

void TSerialLineThread::ServeHandOver() {
    wait_.TakeHandOver();
    bool tellGone = false;
    {
        std::lock_guard<std::mutex> g(lock_);
        // The loop has ended, so no hand-over can be pending alongside.
        if (deviceGone_ && !goneTold_ && !stopped_)
            tellGone = goneTold_ = true;
        // A hand-over that outlived Stop runs nothing.
        else if (!pending_ || stopped_)
            return;
    }
    if (tellGone) {
        if (gone_)
            gone_();
        return;
    }
    // Ends the thread's wait however the handlers end, an exception included.
    struct Done {
        TSerialLineThread& t;
        ~Done() {
            {
                std::lock_guard<std::mutex> g(t.lock_);
                t.pending_ = false;
            }
            t.done_.notify_all();
        }
    } done{*this};
    rxChar_();
}
