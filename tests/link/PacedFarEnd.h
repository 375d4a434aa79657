#pragma once
// A far end on the master side of a PtyPair that keeps to the timing of the decoder line, on a
// thread of its own: what it sends leaves one byte every 1.25 ms (9600 baud, 12 bits a
// character), and it answers a request only once the request's four bytes would have reached
// it. What it answers is up to the test's script.

#include "PtyPair.h"

#include <QByteArray>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kalvex::test {

class PacedFarEnd {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto ByteTime = std::chrono::microseconds(1250);

    // Bytes to send, counted from the arrival of the request that asked for them.
    struct Reply {
        std::chrono::milliseconds after;
        QByteArray bytes;
    };
    // Runs on the far end's thread for every request of four bytes.
    using Script = std::function<std::vector<Reply>(const QByteArray& request, int index)>;

    explicit PacedFarEnd(PtyPair& pty, Script script)
        : pty_(pty), script_(std::move(script)), wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~PacedFarEnd() {
        stop_ = true;
        Wake();
        thread_.join();
        ::close(wake_);
    }
    PacedFarEnd(const PacedFarEnd&) = delete;
    PacedFarEnd& operator=(const PacedFarEnd&) = delete;

    // Puts bytes on the line now (behind anything still leaving), unasked.
    void Send(const QByteArray& bytes) {
        {
            std::lock_guard<std::mutex> g(lock_);
            Add(Clock::now(), bytes);
        }
        Wake();
    }

    int Requests() const {
        std::lock_guard<std::mutex> g(lock_);
        return static_cast<int>(received_.size() / 4);
    }
    QByteArray Received() const {
        std::lock_guard<std::mutex> g(lock_);
        return received_;
    }
    // True when everything asked for has left.
    bool Done() const {
        std::lock_guard<std::mutex> g(lock_);
        return outbox_.empty();
    }

private:
    struct Byte {
        Clock::time_point due;
        char value;
    };

    void Wake() {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_, &one, sizeof one);
    }

    // Keeps the bytes in order of their due time; bytes due together keep their order.
    void Add(Clock::time_point due, const QByteArray& bytes) {
        auto at = std::upper_bound(outbox_.begin(), outbox_.end(), due,
                                   [](Clock::time_point t, const Byte& b) { return t < b.due; });
        for (char c : bytes)
            at = std::next(outbox_.insert(at, Byte{due, c}));
    }

    // A byte leaves when its last bit would have arrived: a byte time after the line was free
    // and the byte was due.
    Clock::time_point NextOut() const {
        return std::max(outbox_.front().due, lineFree_) + ByteTime;
    }

    void Run() {
        for (;;) {
            timespec wait{};
            timespec* timeout = nullptr;
            {
                std::lock_guard<std::mutex> g(lock_);
                if (!outbox_.empty()) {
                    const auto left = std::max(NextOut() - Clock::now(), Clock::duration::zero());
                    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left);
                    wait = {static_cast<time_t>(ns.count() / 1'000'000'000),
                            static_cast<long>(ns.count() % 1'000'000'000)};
                    timeout = &wait;
                }
            }
            pollfd fds[2] = {{pty_.Master(), POLLIN, 0}, {wake_, POLLIN, 0}};
            ppoll(fds, 2, timeout, nullptr);
            if (stop_)
                return;
            if (fds[1].revents & POLLIN) {
                uint64_t n;
                [[maybe_unused]] ssize_t r = ::read(wake_, &n, sizeof n);
            }
            const QByteArray in = (fds[0].revents & POLLIN) ? pty_.ReadAvailable() : QByteArray();
            std::vector<std::pair<QByteArray, int>> requests;
            {
                std::lock_guard<std::mutex> g(lock_);
                for (char c : in) {
                    received_.append(c);
                    if (received_.size() % 4 == 0)
                        requests.emplace_back(received_.right(4), received_.size() / 4 - 1);
                }
            }
            // The program's write reaches the pseudo-terminal at once; on the line its four
            // bytes are still travelling for four byte times.
            const auto arrived = Clock::now() + 4 * ByteTime;
            for (const auto& [request, index] : requests) {
                const std::vector<Reply> replies = script_(request, index);
                std::lock_guard<std::mutex> g(lock_);
                for (const Reply& r : replies)
                    Add(arrived + r.after, r.bytes);
            }
            std::lock_guard<std::mutex> g(lock_);
            while (!outbox_.empty() && NextOut() <= Clock::now()) {
                pty_.Write(QByteArray(1, outbox_.front().value));
                outbox_.pop_front();
                lineFree_ = Clock::now();
            }
        }
    }

    PtyPair& pty_;
    const Script script_;
    const int wake_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    QByteArray received_;
    std::deque<Byte> outbox_;
    Clock::time_point lineFree_{};
    std::thread thread_;
};

} // namespace kalvex::test
