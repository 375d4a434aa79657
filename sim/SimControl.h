#pragma once
// The control channel of kalvex-bus-sim: one command a line (list in README.md).

#include <string>

namespace kalvex::sim {

class BusSimulator;

struct ControlReply {
    std::string text; // one or more lines, each ending in a newline
    bool quit = false;
};

// Never throws: a command that fails, or one that is not known, gets "error: ..." and the
// simulator keeps running.
ControlReply RunControlCommand(BusSimulator& sim, const std::string& line);

} // namespace kalvex::sim
