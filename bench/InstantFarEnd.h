#pragma once
// A far end on a pseudo-terminal's master side that answers every request at once while
// `answering` is set, and records when its reply went out: what the latency benchmarks measure
// against.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

inline int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A pseudo-terminal whose program side is raw, as the serial line sets a real port.
inline bool Raw_Pty(int& master, int& slave) {
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return false;
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    return true;
}

// Answers every request at once while `answering` is set; records when its reply went out.
class FarEnd {
public:
    explicit FarEnd(int master) : master_(master), thread_([this] { Run(); }) {}
    ~FarEnd() {
        stop_ = true;
        thread_.join();
    }
    std::atomic<bool> answering{true};
    std::atomic<int64_t> repliedAt{0};

private:
    void Run() {
        uint8_t buf[4];
        int have = 0;
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            ssize_t n = ::read(master_, buf + have, size_t(4 - have));
            if (n <= 0)
                continue;
            have += int(n);
            if (have < 4)
                continue;
            have = 0;
            if (!answering)
                continue;
            const uint8_t reply[4] = {0x20, buf[1], buf[2], buf[3]};
            if (::write(master_, reply, 4) == 4)
                repliedAt = NowNs();
        }
    }
    int master_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
