// kalvex-bus-sim: a virtual installation on a pseudo-terminal, driven by lines on standard
// input (README.md). It runs until "quit", SIGINT or SIGTERM; the end of standard input alone
// does not stop it, so it can run in the background.

#include "BusSimulator.h"
#include "SimControl.h"

#include <cstdio>
#include <iostream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace kalvex::sim;

namespace {

int Usage() {
    std::cerr << "usage: kalvex-bus-sim [--pace] [--trace] <installation file> <link path>\n"
                 "  e.g. kalvex-bus-sim sim/installations/demo.ini /tmp/kalvex-demo/tty\n";
    return 2;
}

void Trace(const LogEntry& e, Clock::time_point start) {
    const auto ms = std::chrono::duration<double, std::milli>(e.at - start).count();
    std::fprintf(stderr, "%10.1f ms %s %s\n", ms,
                 e.direction == Direction::FromProgram ? "<-" : "->", ToHex(e.frame).c_str());
}

// Serves standard input until quit or a stop signal.
void Serve(BusSimulator& sim, int signals) {
    pollfd fds[2] = {{signals, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string pending;
    for (;;) {
        poll(fds, fds[1].fd < 0 ? 1 : 2, -1);
        if (fds[0].revents & POLLIN)
            return;
        if (!(fds[1].revents & (POLLIN | POLLHUP)))
            continue;
        char buffer[512];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            fds[1].fd = -1; // end of input: keep running until a signal
            continue;
        }
        pending.append(buffer, size_t(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const ControlReply reply = RunControlCommand(sim, pending.substr(0, end));
            pending.erase(0, end + 1);
            std::cout << reply.text << std::flush;
            if (reply.quit)
                return;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    bool pace = false, trace = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--pace")
            pace = true;
        else if (a == "--trace")
            trace = true;
        else if (a.rfind("--", 0) == 0)
            return Usage();
        else
            args.push_back(a);
    }
    if (args.size() != 2)
        return Usage();

    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    // Blocked before the bus thread starts, so that it inherits the mask and the signals
    // reach the signalfd only.
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    const int signals = signalfd(-1, &stop, SFD_CLOEXEC);

    try {
        BusSimulator sim(LoadInstallation(args[0]));
        sim.SetPacing(pace);
        if (trace) {
            const auto start = Clock::now();
            sim.SetFrameObserver([start](const LogEntry& e) { Trace(e, start); });
        }
        sim.Start(args[1]);
        std::cout << "kalvex-bus-sim: " << sim.DecoderCount() << " decoders from " << args[0]
                  << " on " << args[1] << " (" << sim.SlavePath() << "), ready" << std::endl;
        Serve(sim, signals);
        sim.Stop();
    } catch (const std::exception& e) {
        std::cerr << "kalvex-bus-sim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
