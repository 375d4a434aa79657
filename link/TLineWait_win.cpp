// The event thread's wait on Windows: WaitCommEvent(EV_RXCHAR | EV_ERR) overlapped, beside a
// stop event; the hand-over is an auto-reset event watched on the user-interface thread.

#include "TLineWait.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWinEventNotifier>

#include <windows.h>

#include <algorithm>

namespace {

HANDLE NewEvent(bool manualReset) {
    return CreateEventW(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
}

// Qt's Windows event dispatcher delivers posted events (a precise timer's time-out, an event
// notifier's activation, this hand-over among them) at the start of a pass, and when no window
// message came in that pass it then sleeps until the next message: a
// processEvents(WaitForMoreEvents) does not return after the very event its caller waits for.
// A reply wait would sleep on after its reply (until its 250 ms timer) and for ever after its
// time-out. So after a pass that delivered such an event the dispatcher is woken once instead
// of sleeping: the pass returns and the caller looks at its condition again, as on Linux.
class TWakeAfterPostedEvents : public QObject {
public:
    // One per thread's dispatcher, living as long as it.
    static TWakeAfterPostedEvents* For(QAbstractEventDispatcher* dispatcher) {
        static const QString name = QStringLiteral("kalvex-wake-after-posted-events");
        if (auto* found = dispatcher->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
            return static_cast<TWakeAfterPostedEvents*>(found);
        auto* wake = new TWakeAfterPostedEvents(dispatcher);
        wake->setObjectName(name);
        return wake;
    }
    // An event was handled that the pass's caller may be waiting for.
    void Delivered() { delivered_ = true; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Timer:
        case QEvent::ZeroTimerEvent:
        case QEvent::WinEventAct:
            delivered_ = true;
            break;
        default:
            break;
        }
        return false;
    }

private:
    explicit TWakeAfterPostedEvents(QAbstractEventDispatcher* dispatcher) : QObject(dispatcher) {
        // The dispatcher receives the precise and zero timers' events and the notifiers'
        // activations itself.
        dispatcher->installEventFilter(this);
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this, dispatcher] {
            if (!delivered_)
                return;
            delivered_ = false;
            dispatcher->wakeUp();
        });
    }
    bool delivered_ = false;
};

} // namespace

struct TLineWait::Impl {
    explicit Impl(HANDLE device) : device(device) {}
    const HANDLE device;
    HANDLE stop = nullptr;
    HANDLE handOver = nullptr;
    HANDLE commEvent = nullptr; // completes the overlapped WaitCommEvent
    HANDLE readDone = nullptr;  // completes the overlapped ReadFile
    std::unique_ptr<QWinEventNotifier> notifier;

    void CloseEvents() {
        notifier.reset();
        for (HANDLE* event : {&stop, &handOver, &commEvent, &readDone}) {
            if (*event)
                CloseHandle(*event);
            *event = nullptr;
        }
    }
    // Reads what waits in the driver, at most size bytes; the port's time-outs make the read
    // return at once.
    TLineWait::Outcome ReadWaiting(uint8_t* buffer, int size, int& count);
    // A wait that failed or ended empty. Only a port that no longer answers is gone (what the
    // drivers give once the adapter is pulled out); otherwise the port is looked at again a
    // millisecond later, so that a wait that keeps failing cannot spin.
    TLineWait::Outcome WaitFailed();
};

TLineWait::TLineWait(std::intptr_t device)
    : impl_(std::make_unique<Impl>(reinterpret_cast<HANDLE>(device))) {}

TLineWait::~TLineWait() {
    impl_->CloseEvents();
}

int TLineWait::Create(std::function<void()> handOver) {
    impl_->stop = NewEvent(true);
    impl_->handOver = NewEvent(false);
    impl_->commEvent = NewEvent(true);
    impl_->readDone = NewEvent(true);
    if (!impl_->stop || !impl_->handOver || !impl_->commEvent || !impl_->readDone ||
        !SetCommMask(impl_->device, EV_RXCHAR | EV_ERR)) {
        const int err = static_cast<int>(GetLastError());
        impl_->CloseEvents();
        return err ? err : ERROR_GEN_FAILURE;
    }
    QPointer<TWakeAfterPostedEvents> wake;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        wake = TWakeAfterPostedEvents::For(dispatcher);
    impl_->notifier = std::make_unique<QWinEventNotifier>(impl_->handOver);
    QObject::connect(impl_->notifier.get(), &QWinEventNotifier::activated,
                     [handOver = std::move(handOver), wake](HANDLE) {
                         handOver();
                         // Also when the handlers ran a nested event loop of their own.
                         if (wake)
                             wake->Delivered();
                     });
    return 0;
}

TLineWait::Outcome TLineWait::Impl::ReadWaiting(uint8_t* buffer, int size, int& count) {
    DWORD errors = 0;
    COMSTAT status{};
    // Also clears a line error (EV_ERR), which would otherwise stop the driver's input.
    if (!ClearCommError(device, &errors, &status))
        return Outcome::Gone;
    if (status.cbInQue == 0)
        return Outcome::Nothing;
    OVERLAPPED ov{};
    ov.hEvent = readDone;
    ResetEvent(readDone);
    DWORD n = 0;
    const DWORD want = std::min<DWORD>(status.cbInQue, static_cast<DWORD>(size));
    if (!ReadFile(device, buffer, want, &n, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(device, &ov, &n, TRUE))
            return Outcome::Gone;
    }
    count = static_cast<int>(n);
    return n > 0 ? Outcome::Bytes : Outcome::Nothing;
}

TLineWait::Outcome TLineWait::Impl::WaitFailed() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(device, &errors, &status))
        return Outcome::Gone;
    return WaitForSingleObject(stop, 1) == WAIT_OBJECT_0 ? Outcome::Stopped : Outcome::Nothing;
}

TLineWait::Outcome TLineWait::Wait(uint8_t* buffer, int size, int& count) {
    count = 0;
    if (WaitForSingleObject(impl_->stop, 0) == WAIT_OBJECT_0)
        return Outcome::Stopped;
    // What arrived before this wait (or with the last event beyond the buffer) is read first:
    // WaitCommEvent reports only characters that arrive after it started.
    const Outcome waiting = impl_->ReadWaiting(buffer, size, count);
    if (waiting != Outcome::Nothing)
        return waiting;
    OVERLAPPED ov{};
    ov.hEvent = impl_->commEvent;
    ResetEvent(impl_->commEvent);
    DWORD mask = 0;
    if (!WaitCommEvent(impl_->device, &mask, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING)
            return impl_->WaitFailed();
        const HANDLE events[2] = {impl_->stop, impl_->commEvent};
        const DWORD which = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        DWORD ignored = 0;
        if (which != WAIT_OBJECT_0 + 1) {
            // Stopped (or the wait itself failed): the pending wait must end before its
            // OVERLAPPED goes out of scope. Setting the mask again ends it, as documented;
            // not every driver lets it be cancelled (Wine's does not).
            SetCommMask(impl_->device, EV_RXCHAR | EV_ERR);
            CancelIoEx(impl_->device, &ov);
            GetOverlappedResult(impl_->device, &ov, &ignored, TRUE);
            return which == WAIT_OBJECT_0 ? Outcome::Stopped : Outcome::Gone;
        }
        if (!GetOverlappedResult(impl_->device, &ov, &ignored, FALSE))
            return impl_->WaitFailed();
    }
    const Outcome after = impl_->ReadWaiting(buffer, size, count);
    // Nothing here changes the mask while the wait runs: an empty one is a driver ending the
    // wait for a reason of its own, such as a device that went away.
    return after == Outcome::Nothing && mask == 0 ? impl_->WaitFailed() : after;
}

void TLineWait::Stop() {
    if (impl_->stop)
        SetEvent(impl_->stop);
}

void TLineWait::SignalHandOver() {
    SetEvent(impl_->handOver);
}

void TLineWait::TakeHandOver() {
    // An auto-reset event: the notifier's wait has taken the signal already.
}
