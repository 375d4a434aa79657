#pragma once
// A simulator running a small installation, with the program's end of its line open.

#include "BusSimulator.h"
#include "LineEnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace kalvex::sim::test {

// 0 hall 6745, 1 sensors 6758, 2 relays 6759, 3 digitizer 6775 (panel 3, block 12),
// 4 converter 6786, 5 blocks 6734.
inline const char* SmallInstallation = R"(
[hall]
model = 6745
serves = 1001 1002
codes = 1001 1002 - 1004

[sensors]
model = 6758
serves = A101
codes = A101 A102 - - - - - -
times = 10s 5m - - - - - -

[relays]
model = 6759
serves = B201
codes = B201 - - - - - - -
times = 200 0 0 0 0 0 0 0
states = on off off off off off off off

[digitizer]
model = 6775
panel = 3
block = 12
opening = 5
minimum = 2

[converter]
model = 6786
serves = 1234
address = 1234

[blocks]
model = 6734
serves = 0700
start = 0700
end = 0799
entrance = yes
)";

enum { Hall, Sensors, Relays, Digitizer, Converter, Blocks };

class SimFixture : public testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<BusSimulator>(ParseInstallation(SmallInstallation, "small"));
        sim->Start(dir.Path("tty"));
        line = std::make_unique<LineEnd>(dir.Path("tty"));
    }

    // Reads the next frame and acknowledges it as the program does.
    Frame TakeAndAcknowledge() {
        const auto f = line->ReadFrame();
        if (!f) {
            ADD_FAILURE() << "no frame";
            return {};
        }
        line->Send(Frame{0x20, (*f)[0], (*f)[2], (*f)[3]});
        return *f;
    }

    // Runs a whole read-out of the decoder so that it is in programming mode.
    void ReadOut(int decoder, size_t frames) {
        sim->PressButton(decoder);
        for (size_t i = 0; i < frames; ++i)
            TakeAndAcknowledge();
        ASSERT_TRUE(line->Quiet());
    }

    // One request and what comes back within the program's 250 ms wait.
    std::optional<Frame> Ask(const Frame& request) {
        line->Send(request);
        return line->ReadFrame(250ms);
    }

    TempDir dir;
    std::unique_ptr<BusSimulator> sim;
    std::unique_ptr<LineEnd> line;
};

} // namespace kalvex::sim::test
