// The event thread's wait on POSIX: poll() on the device and on an eventfd that Stop signals;
// the hand-over is another eventfd, watched on the user-interface thread by a socket notifier.

#include "TLineWait.h"

#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

struct TLineWait::Impl {
    explicit Impl(int device) : fd(device) {}
    const int fd;
    int stopFd = -1;
    int handOverFd = -1;
    std::unique_ptr<QSocketNotifier> notifier;

    void Signal(int eventFd) const {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(eventFd, &one, sizeof one);
    }
    void CloseEvents() {
        notifier.reset();
        for (int* event : {&stopFd, &handOverFd}) {
            if (*event >= 0)
                ::close(*event);
            *event = -1;
        }
    }
};

TLineWait::TLineWait(std::intptr_t device)
    : impl_(std::make_unique<Impl>(static_cast<int>(device))) {}

TLineWait::~TLineWait() {
    impl_->CloseEvents();
}

int TLineWait::Create(std::function<void()> handOver) {
    impl_->stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    impl_->handOverFd = impl_->stopFd < 0 ? -1 : eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (impl_->handOverFd < 0) {
        const int err = errno;
        impl_->CloseEvents();
        return err;
    }
    impl_->notifier = std::make_unique<QSocketNotifier>(impl_->handOverFd, QSocketNotifier::Read);
    QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, std::move(handOver));
    return 0;
}

TLineWait::Outcome TLineWait::Wait(uint8_t* buffer, int size, int& count) {
    count = 0;
    pollfd fds[2] = {{impl_->fd, POLLIN, 0}, {impl_->stopFd, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0)
        return errno == EINTR ? Outcome::Nothing : Outcome::Gone;
    if (fds[1].revents)
        return Outcome::Stopped;
    if (fds[0].revents & (POLLIN | POLLHUP)) {
        const ssize_t n = ::read(impl_->fd, buffer, static_cast<size_t>(size));
        if (n > 0) {
            count = static_cast<int>(n);
            return Outcome::Bytes;
        }
        // A hang-up or a read error on a readable device: the device went away.
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            return Outcome::Gone;
    }
    return fds[0].revents & (POLLERR | POLLNVAL) ? Outcome::Gone : Outcome::Nothing;
}

void TLineWait::Stop() {
    if (impl_->stopFd >= 0)
        impl_->Signal(impl_->stopFd);
}

void TLineWait::SignalHandOver() {
    impl_->Signal(impl_->handOverFd);
}

void TLineWait::TakeHandOver() {
    uint64_t count;
    [[maybe_unused]] ssize_t n = ::read(impl_->handOverFd, &count, sizeof count);
}
