#include "TSerialLineThread.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

TSerialLineThread::TSerialLineThread(TLineInputQueue& input, std::function<void()> rxChar,
                                     int deviceFd, bool handOverRxChar, std::function<void()> gone)
    : input_(input), rxChar_(std::move(rxChar)), fd_(deviceFd), handOverRxChar_(handOverRxChar),
      gone_(std::move(gone)) {}

TSerialLineThread::~TSerialLineThread() {
    Stop();
    CloseEvents();
}

void TSerialLineThread::CloseEvents() {
    handOverNotifier_.reset();
    for (int* fd : {&stopFd_, &handOverFd_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

int TSerialLineThread::Start() {
    if (thread_.joinable())
        return 0;
    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    handOverFd_ = stopFd_ < 0 ? -1 : eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (handOverFd_ < 0) {
        const int err = errno;
        CloseEvents();
        return err;
    }
    handOverNotifier_ = std::make_unique<QSocketNotifier>(handOverFd_, QSocketNotifier::Read);
    QObject::connect(handOverNotifier_.get(), &QSocketNotifier::activated,
                     [this] { ServeHandOver(); });
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        CloseEvents();
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
    if (stopFd_ >= 0) {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(stopFd_, &one, sizeof one);
    }
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
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            return;
        bool arrived = false;
        bool gone = (fds[0].revents & (POLLERR | POLLNVAL)) != 0;
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n > 0) {
                const TLineClock::time_point now = TLineClock::now();
                input_.Append(chunk, static_cast<int>(n), now, now - quietSince);
                quietSince = now;
                arrived = true;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // A hang-up or a read error on a readable device: the device went away.
                // Ending here keeps the thread from spinning on it.
                gone = true;
            }
        }
        if (arrived && handOverRxChar_) {
            if (!HandOverRxChar())
                return;
            quietSince = TLineClock::now();
        }
        if (gone)
            break;
    }
    std::lock_guard<std::mutex> g(lock_);
    deviceGone_ = true;
    // Wakes the user-interface thread, so the loss is known at once and not only at the next
    // write.
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(handOverFd_, &one, sizeof one);
}

bool TSerialLineThread::HandOverRxChar() {
    std::unique_lock<std::mutex> g(lock_);
    if (stopped_)
        return false;
    pending_ = true;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(handOverFd_, &one, sizeof one);
    done_.wait(g, [&] { return !pending_ || stopped_; });
    return !stopped_;
}

void TSerialLineThread::ServeHandOver() {
    uint64_t count;
    [[maybe_unused]] ssize_t n = ::read(handOverFd_, &count, sizeof count);
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
