// Transaction engine over a pseudo-terminal: reply latency with a far end that answers at
// once, and the CPU the wait takes when nobody answers.

#include "DECODER2.h"
#include "InstantFarEnd.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int master = -1, slave = -1;
    if (!Raw_Pty(master, slave))
        return 1;
    FarEnd far(master);

    TDECODER2 link;
    link.SetPort(QString::fromLocal8Bit(ttyname(slave)));
    link.Open();

    std::vector<double> latencies;
    for (int i = 0; i < 1000; ++i) {
        Trama_Dec r = link.Transact(0x60, uint8_t(i), 0x12, 0x34, true);
        int64_t back = NowNs();
        if (r[0] != 0x20) {
            std::fprintf(stderr, "transaction %d not answered\n", i);
            return 1;
        }
        latencies.push_back(double(back - far.repliedAt.load()) / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("transact_reply_latency_median: %.3f ms\n", latencies[latencies.size() / 2]);
    std::printf("transact_reply_latency_p99: %.3f ms\n", latencies[latencies.size() * 99 / 100]);

    far.answering = false;
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    link.Transact(0x60, 0x23, 0x12, 0x34, true);
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    const double cpu = CpuSeconds() - cpu0;
    std::printf("transact_silent_wait_cpu_share: %.2f %%\n", 100.0 * cpu / wall);
    std::fflush(stdout);
    link.Close();
    return 0;
}
