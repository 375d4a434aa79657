#pragma once
// The program's side of the simulated line, for tests: opens the link path in raw mode, writes
// frames and reads answers with a deadline.

#include "SimFrame.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kalvex::sim::test {

using namespace std::chrono_literals;

class LineEnd {
public:
    explicit LineEnd(const std::string& path);
    ~LineEnd();
    LineEnd(const LineEnd&) = delete;
    LineEnd& operator=(const LineEnd&) = delete;

    void Send(const std::vector<uint8_t>& bytes);
    void Send(const Frame& f) { Send(std::vector<uint8_t>(f.begin(), f.end())); }
    // Reads until count bytes have arrived or the time is up; returns what arrived.
    std::vector<uint8_t> Read(size_t count, std::chrono::milliseconds within = 1000ms);
    std::optional<Frame> ReadFrame(std::chrono::milliseconds within = 1000ms);
    // The sizes of the reads that delivered count bytes: more than one when they came apart.
    std::vector<size_t> ReadPieces(size_t count, std::chrono::milliseconds within = 1000ms);
    const std::vector<uint8_t>& LastRead() const { return last_; }
    // True when nothing arrives for the given time.
    bool Quiet(std::chrono::milliseconds quiet = 150ms);

private:
    int fd_;
    std::vector<uint8_t> last_; // what the last Read collected
};

// A temporary folder for the link, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace kalvex::sim::test
