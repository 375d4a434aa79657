#include "SimControl.h"

#include "SimFixture.h"

namespace kalvex::sim::test {
namespace {

TEST(Control, RepliesOneLineAndKeepsRunning) {
    BusSimulator sim(ParseInstallation(SmallInstallation, "small"));
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"frobnicate", "error: unknown command 'frobnicate'"},
        {"press", "error: unknown command 'press'"},
        {"press nobody", "error: no decoder 'nobody'"},
        {"press 1", "ok: sensors button pressed"},
        {"press hall", "ok: hall button pressed"},
        {"announce", "ok: digitizer announced"},
        {"fault late on hall times=2", "ok: late on for hall"},
        {"fault late sideways", "error: expected on or off"},
        {"fault silent on all reg=zz", "error: bad register 'zz'"},
        {"fault silent on hall times=0", "error: bad count '0'"},
        {"fault bogus on", "error: unknown fault 'bogus'"},
        {"fault clear", "ok: every fault off"},
        {"pacing maybe", "error: expected on or off"},
        {"save", "error: the installation was not loaded from a file"},
        {"dump relays", "[relays]\nmodel = 6759\n"},
    };
    for (const auto& [command, reply] : cases) {
        const ControlReply r = RunControlCommand(sim, command);
        EXPECT_EQ(r.text.rfind(reply, 0), 0u) << command << " -> " << r.text;
        EXPECT_FALSE(r.quit);
    }
    EXPECT_TRUE(RunControlCommand(sim, "quit").quit);
    EXPECT_EQ(RunControlCommand(sim, "   ").text, "");
}

class ControlOnLine : public SimFixture {};

TEST_F(ControlOnLine, FaultCommandReachesTheNamedDecoder) {
    ASSERT_EQ(RunControlCommand(*sim, "fault status on sensors").text.rfind("ok", 0), 0u);
    EXPECT_EQ(Ask({0x70, 0x01, 0x01, 0xA1}), (Frame{WrongStatusByte, 0x18, 0x01, 0xA1}));
    EXPECT_EQ(Ask({0x70, 0x01, 0x02, 0x10}), (Frame{0x20, 0x44, 0x02, 0x10}));
    RunControlCommand(*sim, "fault status off");
    EXPECT_EQ(Ask({0x70, 0x01, 0x01, 0xA1}), (Frame{0x20, 0x18, 0x01, 0xA1}));
}

} // namespace
} // namespace kalvex::sim::test
