// Preloaded into Wine by scripts/test-windows.sh (built there with the host compiler), never
// into the program, so that a Windows program can use the simulator's pseudo-terminal as a COM
// port. Two things a pseudo-terminal lacks, faked on pseudo-terminals only:
//  - parity: its driver drops PARENB, Wine reads the settings back, finds them changed and
//    fails SetCommState with error 87; the parity bit is taken out before the call, so the
//    program sees the 8-O-2 it asked for and the bytes pass as they are;
//  - line error counters: Wine's WaitCommEvent with EV_ERR in the mask reads them
//    (TIOCGICOUNT) and fails the wait when it cannot; a pseudo-terminal has no line errors, so
//    it reports none;
//  - modem lines: Wine's pending WaitCommEvent reads them (TIOCMGET) every millisecond and ends
//    the wait empty when it cannot, so every wait would end a millisecond after it started and
//    the program's event thread would only ever run its fallback; a pseudo-terminal has no
//    modem lines, so none are up.

#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

namespace {

bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143; // Unix98 pseudo-terminal slaves
}

template <typename F> F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int tcsetattr(int fd, int when, const termios* settings) noexcept {
    static const auto real = Real<int (*)(int, int, const termios*)>("tcsetattr");
    if (!settings || !IsPseudoTerminal(fd))
        return real(fd, when, settings);
    termios changed = *settings;
    changed.c_cflag &= ~static_cast<tcflag_t>(PARENB);
    return real(fd, when, &changed);
}

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    static const auto real = Real<int (*)(int, unsigned long, void*)>("ioctl");
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (request == TIOCGICOUNT && argument && IsPseudoTerminal(fd)) {
        std::memset(argument, 0, sizeof(serial_icounter_struct));
        return 0;
    }
    if (request == TIOCMGET && argument && IsPseudoTerminal(fd)) {
        *static_cast<int*>(argument) = 0;
        return 0;
    }
    return real(fd, request, argument);
}
