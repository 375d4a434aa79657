#pragma once
// Another program holding a device open, for tests: a child process under its own name that
// opens the device, optionally takes the lock the program takes, and waits to be ended.

#include <QByteArray>

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvex::test {

class HolderProcess {
public:
    HolderProcess(const QByteArray& device, const char* name, bool lock) {
        int ready[2];
        if (::pipe(ready) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            // Only calls that are safe after fork in a threaded process.
            ::prctl(PR_SET_NAME, name);
            // Nothing of the test's own: an inherited pseudo-terminal master would make this
            // process look like the line's far end.
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != ready[1])
                    ::close(fd);
            int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            char ok = fd >= 0 && (!lock || ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? 1 : 0;
            [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char ok = 0;
        const bool told = ::read(ready[0], &ok, 1) == 1;
        ::close(ready[0]);
        if (!told || !ok) {
            End();
            throw std::runtime_error("the holder could not open the device");
        }
    }
    ~HolderProcess() { End(); }
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    pid_t Pid() const { return pid_; }

    void End() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

} // namespace kalvex::test
