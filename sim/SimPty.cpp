#include "SimPty.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace kalvex::sim {

namespace fs = std::filesystem;

namespace {
[[noreturn]] void Fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        Fail("tcgetattr");
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    t.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(fd, TCSANOW, &t) != 0)
        Fail("tcsetattr");
}

void Link(const std::string& target, const fs::path& link) {
    std::error_code error;
    if (!link.parent_path().empty())
        fs::create_directories(link.parent_path(), error);
    const auto status = fs::symlink_status(link, error);
    if (fs::exists(status) && !fs::is_symlink(status))
        throw std::runtime_error(link.string() + " exists and is not a symbolic link");
    // A fresh link under a temporary name, then renamed over a stale one in one step.
    const fs::path temporary = link.string() + ".new";
    fs::remove(temporary, error);
    fs::create_symlink(target, temporary);
    fs::rename(temporary, link);
}
} // namespace

Pty::Pty(const std::string& linkPath) : linkPath_(linkPath) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        Fail("posix_openpt");
    try {
        if (grantpt(master_) != 0 || unlockpt(master_) != 0)
            Fail("unlockpt");
        char name[128];
        if (ptsname_r(master_, name, sizeof name) != 0)
            Fail("ptsname_r");
        slavePath_ = name;
        slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0)
            Fail("open " + slavePath_);
        MakeRaw(slave_);
        if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0)
            Fail("fcntl");
        Link(slavePath_, linkPath_);
    } catch (...) {
        if (slave_ >= 0)
            close(slave_);
        close(master_);
        throw;
    }
}

Pty::~Pty() {
    std::error_code error;
    // Only our own link: another simulator may have taken the path over since.
    if (fs::read_symlink(linkPath_, error) == slavePath_)
        fs::remove(linkPath_, error);
    close(slave_);
    close(master_);
}

} // namespace kalvex::sim
