#include "LineEnd.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace kalvex::sim::test {

LineEnd::LineEnd(const std::string& path)
    : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "open " + path);
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    tcsetattr(fd_, TCSANOW, &t);
}

LineEnd::~LineEnd() {
    close(fd_);
}

void LineEnd::Send(const std::vector<uint8_t>& bytes) {
    if (write(fd_, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
        throw std::system_error(errno, std::generic_category(), "write");
}

std::vector<size_t> LineEnd::ReadPieces(size_t count, std::chrono::milliseconds within) {
    std::vector<size_t> pieces;
    last_.clear();
    size_t got = 0;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (got < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0)
            break;
        uint8_t buffer[64];
        const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - got));
        if (n > 0) {
            pieces.push_back(size_t(n));
            got += size_t(n);
            last_.insert(last_.end(), buffer, buffer + n);
        }
    }
    return pieces;
}

std::vector<uint8_t> LineEnd::Read(size_t count, std::chrono::milliseconds within) {
    ReadPieces(count, within);
    return last_;
}

std::optional<Frame> LineEnd::ReadFrame(std::chrono::milliseconds within) {
    const auto bytes = Read(4, within);
    if (bytes.size() != 4)
        return std::nullopt;
    return Frame{bytes[0], bytes[1], bytes[2], bytes[3]};
}

bool LineEnd::Quiet(std::chrono::milliseconds quiet) {
    return Read(1, quiet).empty();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kalvex-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

} // namespace kalvex::sim::test
