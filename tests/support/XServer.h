#pragma once
// A private X display with a real window manager, for tests that must see what only a window
// manager decides (stacking, focus): Xvfb on a display number it picks itself (-displayfd, so
// parallel test processes never collide) and openbox on it. Started before the application
// object; both end with the test process, even when it crashes.

#include <QElapsedTimer>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kalvex::test {

// Runs a program (looked up in PATH, no shell) and returns its standard output; `ok` tells
// whether it ran and exited with status 0.
inline std::string Capture(const std::vector<std::string>& args, bool* ok = nullptr) {
    if (ok)
        *ok = false;
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0)
            dup2(null, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    if (pid > 0) {
        char buffer[4096];
        ssize_t n;
        while ((n = read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
            if (n > 0)
                text.append(buffer, static_cast<size_t>(n));
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (ok)
            *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    close(out[0]);
    return text;
}

// Starts a program in the background (looked up in PATH, no shell, silent). It ends with this
// process, whatever way this process ends. Descriptors without close-on-exec are inherited.
inline pid_t SpawnProgram(const std::vector<std::string>& args,
                          const std::vector<std::string>& env = {}) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    for (const std::string& e : env)
        putenv(const_cast<char*>(e.c_str()));
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO)
            close(null);
    }
    execvp(argv[0], argv.data());
    _exit(127);
}

// Ends a program started with SpawnProgram and waits for it.
inline void EndProgram(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    pid = 0;
}

class XServer {
public:
    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer() { Stop(); }

    // Starts Xvfb and openbox and points DISPLAY at them. On failure nothing is left running
    // and Error() says what went wrong.
    bool Start(int deadlineMs = 15000) {
        if (!StartXvfb(deadlineMs))
            return Fail();
        setenv("DISPLAY", display_.c_str(), 1);
        if (!StartOpenbox(deadlineMs))
            return Fail();
        return true;
    }

    const std::string& Display() const { return display_; }
    const std::string& Error() const { return error_; }

    void Stop() {
        EndProgram(openbox_);
        EndProgram(xvfb_);
        if (!config_.empty())
            rmdir(config_.c_str());
        config_.clear();
    }

private:
    bool StartXvfb(int deadlineMs) {
        int ready[2];
        if (pipe(ready) != 0) {
            error_ = "no pipe for Xvfb";
            return false;
        }
        fcntl(ready[0], F_SETFD, FD_CLOEXEC);
        const std::string fd = std::to_string(ready[1]);
        xvfb_ = SpawnProgram({"Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten",
                              "tcp", "-noreset"});
        close(ready[1]);
        if (xvfb_ <= 0) {
            close(ready[0]);
            error_ = "Xvfb could not be started";
            return false;
        }
        // Xvfb writes the display number it took once it accepts connections; end of file
        // means it has gone (not installed, or it failed).
        std::string number;
        QElapsedTimer clock;
        clock.start();
        while (number.find('\n') == std::string::npos) {
            const int left = deadlineMs - static_cast<int>(clock.elapsed());
            pollfd p{ready[0], POLLIN, 0};
            if (left <= 0 || poll(&p, 1, left) <= 0)
                break;
            char c;
            if (read(ready[0], &c, 1) != 1)
                break;
            number += c;
        }
        close(ready[0]);
        if (number.find('\n') == std::string::npos) {
            error_ = "Xvfb did not start (is the xvfb package installed?)";
            return false;
        }
        number.pop_back();
        display_ = ":" + number;
        return true;
    }

    bool StartOpenbox(int deadlineMs) {
        bool ok = false;
        Capture({"xprop", "-version"}, &ok);
        if (!ok) {
            error_ = "xprop is missing (install x11-utils)";
            return false;
        }
        // The system's default configuration, never the user's own.
        char folder[] = "/tmp/kalvex-openbox-XXXXXX";
        if (!mkdtemp(folder)) {
            error_ = "no folder for openbox";
            return false;
        }
        config_ = folder;
        openbox_ = SpawnProgram({"openbox", "--sm-disable"}, {"XDG_CONFIG_HOME=" + config_});
        // A window manager announces itself on the root window.
        QElapsedTimer clock;
        clock.start();
        while (openbox_ > 0 && clock.elapsed() < deadlineMs) {
            int status;
            if (waitpid(openbox_, &status, WNOHANG) == openbox_) {
                openbox_ = 0;
                error_ = "openbox exited at once (is the openbox package installed?)";
                return false;
            }
            if (Capture({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                std::string::npos)
                return true;
            usleep(20000);
        }
        error_ = "openbox did not take the display";
        return false;
    }

    bool Fail() {
        Stop();
        return false;
    }

    pid_t xvfb_ = 0;
    pid_t openbox_ = 0;
    std::string display_;
    std::string config_;
    std::string error_;
};

} // namespace kalvex::test
