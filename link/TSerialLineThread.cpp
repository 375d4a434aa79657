#include "TSerialLineThread.h"

#include "USerialLine.h"

#include <QMetaObject>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

TSerialLineThread::TSerialLineThread(TCustomSerialLine& owner, int deviceFd)
    : owner_(owner), fd_(deviceFd), stopFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      state_(std::make_shared<HandOver>()) {
    if (stopFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    thread_ = std::thread([this] { Run(); });
}

TSerialLineThread::~TSerialLineThread() {
    Stop();
    ::close(stopFd_);
}

void TSerialLineThread::Stop() {
    {
        std::lock_guard<std::mutex> g(state_->lock);
        state_->stopped = true;
    }
    state_->done.notify_all();
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(stopFd_, &one, sizeof one);
    if (thread_.joinable())
        thread_.join();
}

bool TSerialLineThread::DeviceGone() const {
    std::lock_guard<std::mutex> g(state_->lock);
    return state_->deviceGone;
}

void TSerialLineThread::Run() {
    uint8_t chunk[512];
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
                owner_.QueueInput(chunk, static_cast<int>(n));
                arrived = true;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // A hang-up or a read error on a readable device: the device went away.
                // Ending here keeps the thread from spinning on it.
                gone = true;
            }
        }
        if (arrived && (owner_.Events() & evRxChar) && !HandOverRxChar())
            return;
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
    TCustomSerialLine* owner = &owner_;
    QMetaObject::invokeMethod(
        owner,
        [owner, state] {
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
                owner->DispatchEvents(evRxChar);
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> g(state->lock);
    state->done.wait(g, [&] { return state->handled || state->stopped; });
    return !state->stopped;
}
