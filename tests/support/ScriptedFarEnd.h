#pragma once
// A far end on the master side of a PtyPair, served by the test's own event loop (and so
// also inside a waiting Transact): it collects every 4-byte request and lets a script answer.

#include "PtyPair.h"

#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <vector>

namespace kalvex::test {

class ScriptedFarEnd {
public:
    using Script = std::function<void(ScriptedFarEnd&, const QByteArray& request, int index)>;

    explicit ScriptedFarEnd(PtyPair& pty)
        : pty_(pty), notifier_(pty.Master(), QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { Take(); });
    }

    void OnRequest(Script script) { script_ = std::move(script); }

    void Send(const QByteArray& bytes) { pty_.Write(bytes); }
    void SendLater(int ms, const QByteArray& bytes) {
        QTimer::singleShot(ms, [this, bytes] { pty_.Write(bytes); });
    }

    const QByteArray& Received() const { return received_; }
    int Requests() const { return static_cast<int>(received_.size() / 4); }

private:
    void Take() {
        QByteArray bytes = pty_.ReadAvailable();
        for (char c : bytes) {
            received_.append(c);
            if (received_.size() % 4 == 0 && script_) {
                int index = Requests() - 1;
                script_(*this, received_.right(4), index);
            }
        }
    }

    PtyPair& pty_;
    QSocketNotifier notifier_;
    Script script_;
    QByteArray received_;
};

} // namespace kalvex::test
