#include "TSerialLineThread.h"

#include <QMetaObject>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

TSerialLineThread::TSerialLineThread(TLineInputQueue& input, std::function<void()> rxChar,
                                     int deviceFd, bool handOverRxChar)
    : input_(input), rxChar_(std::move(rxChar)), fd_(deviceFd), handOverRxChar_(handOverRxChar),
      state_(std::make_shared<HandOver>()) {}

TSerialLineThread::~TSerialLineThread() {
    Stop();
    if (stopFd_ >= 0)
        ::close(stopFd_);
}

int TSerialLineThread::Start() {
    if (thread_.joinable())
        return 0;
    if (stopFd_ < 0) {
        stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (stopFd_ < 0)
            return errno;
    }
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        ::close(stopFd_);
        stopFd_ = -1;
        return e.code().value() > 0 ? e.code().value() : EAGAIN;
    }
    return 0;
}

void TSerialLineThread::Stop() {
    {
        std::lock_guard<std::mutex> g(state_->lock);
        state_->stopped = true;
    }
    state_->done.notify_all();
    if (stopFd_ >= 0) {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(stopFd_, &one, sizeof one);
    }
    if (thread_.joinable())
        thread_.join();
}

bool TSerialLineThread::DeviceGone() const {
    std::lock_guard<std::mutex> g(state_->lock);
    return state_->deviceGone;
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
    std::lock_guard<std::mutex> g(state_->lock);
    state_->deviceGone = true;
}

bool TSerialLineThread::HandOverRxChar() {
    auto state = state_;
    {
        std::lock_guard<std::mutex> g(state->lock);
        if (state->stopped)
            return false;
        state->handled = false;
    }
    const std::function<void()>* rxChar = &rxChar_;
    QMetaObject::invokeMethod(
        &receiver_,
        [rxChar, state] {
            // Signals completion however the handlers end, an exception included.
            struct Done {
                HandOver& s;
                ~Done() {
                    {
                        std::lock_guard<std::mutex> g(s.lock);
                        s.handled = true;
                    }
                    s.done.notify_all();
                }
            } done{*state};
            bool stopped;
            {
                std::lock_guard<std::mutex> g(state->lock);
                stopped = state->stopped;
            }
            if (!stopped)
                (*rxChar)();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> g(state->lock);
    state->done.wait(g, [&] { return state->handled || state->stopped; });
    return !state->stopped;
}
