#pragma once
// A pseudo-terminal pair in raw mode whose slave is reachable through a symbolic link, so that
// the program can name the link as its port.

#include <string>

namespace kalvex::sim {

class Pty {
public:
    // Creates the link's folder when missing; replaces a stale symbolic link, never a file.
    // Throws std::system_error, or std::runtime_error when the path is taken by a non-link.
    explicit Pty(const std::string& linkPath);
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Kept open so that the master never sees EIO (no slave open) while the program closes
    // and reopens its port.
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

} // namespace kalvex::sim
