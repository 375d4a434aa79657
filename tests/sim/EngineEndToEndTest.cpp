// The one place where the program's own decoder link meets the simulator: the two were written
// apart, so this is where a misunderstanding of the line on either side shows.

#include "BusSimulator.h"
#include "DECODER2.h"
#include "LineEnd.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace kalvex::sim::test {
namespace {

const char* Installation = R"(
[hall]
model = 6745
serves = 1001
codes = 1001 1002 1003 1004
)";

class EngineEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        sim.Start(dir.Path("tty"));
        Decod1.SetPort(QString::fromStdString(dir.Path("tty")));
        Decod1.Open();
        // The program's read-out procedures acknowledge every decoder-initiated frame.
        Decod1.OnDECRecibedNotDemand = [this](QObject*, Trama_Dec f) {
            Decod1.Envia_Trama(Trama_Dec(0x20, f[0], f[2], f[3]));
        };
    }
    void TearDown() override { Decod1.Close(); }

    // Serves the event loop until cond holds or the deadline passes.
    template <typename Cond> bool Until(Cond cond) {
        const auto deadline = std::chrono::steady_clock::now() + 3s;
        while (!cond() && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return cond();
    }

    // A whole read-out of the hall decoder: four data frames and its identification frame.
    void ReadOut() {
        sim.PressButton("hall");
        ASSERT_TRUE(Until([this] {
            return sim.WaitForFrames(Direction::FromProgram, 5, 0ms) && sim.InProgramming(0);
        }));
        sim.ClearLog();
    }

    int argc = 0;
    QCoreApplication app{argc, nullptr};
    TempDir dir;
    BusSimulator sim{ParseInstallation(Installation, "e2e")};
    TDECODER2 Decod1;
};

TEST_F(EngineEndToEnd, WriteThenReadReturnsWhatWasWritten) {
    ReadOut();
    const Trama_Dec written = Decod1.Transact(0xB0, 0x02, 0x12, 0x34, true);
    EXPECT_EQ(written, Trama_Dec(0x20, 0x02, 0x34, 0x12));
    EXPECT_EQ(sim.Word(0, 0x02), 0x1234);
    EXPECT_EQ(Decod1.Transact(0x60, 0x02, 0xFF, 0xFF, true)[1], 0x12);
    EXPECT_EQ(Decod1.Transact(0x60, 0x03, 0xFF, 0xFF, true)[1], 0x34);
}

TEST_F(EngineEndToEnd, ProgrammingRequestLeadsToAFullReadOut) {
    const Trama_Dec none = Decod1.Transact(0x50, 0x10, 0x10, 0x01, false);
    EXPECT_EQ(none, Trama_Sin_Respuesta);
    ASSERT_TRUE(Until([this] { return sim.WaitForFrames(Direction::FromProgram, 7, 0ms); }));
    const auto log = sim.Log();
    // Two copies of the request, then one acknowledgement per frame of the read-out.
    EXPECT_EQ(log.back().frame, (Frame{0x20, 0x40, 0xFF, 0xFF}));
    EXPECT_TRUE(sim.InProgramming(0));
}

TEST_F(EngineEndToEnd, SilentDecoderCostsThreeAttempts) {
    ReadOut();
    sim.SetFault({FaultKind::Silent});
    EXPECT_EQ(Decod1.Transact(0xB0, 0x00, 0x99, 0x99, true), Trama_Sin_Respuesta);
    EXPECT_EQ(sim.Log().size(), 3u);
}

TEST_F(EngineEndToEnd, LateReplyIsTakenByTheNextAttempt) {
    ReadOut();
    sim.SetFault({FaultKind::Late});
    EXPECT_EQ(Decod1.Transact(0xB0, 0x00, 0x55, 0x66, true), Trama_Dec(0x20, 0x00, 0x66, 0x55));
    // The first attempt's reply came during the second attempt's wait and ended it.
    const auto log = sim.Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0].frame, (Frame{0xB0, 0x00, 0x66, 0x55}));
    EXPECT_EQ(log[1].frame, (Frame{0xB0, 0x00, 0x66, 0x55}));
    EXPECT_EQ(log[2].direction, Direction::ToProgram);
    EXPECT_EQ(sim.Word(0, 0x00), 0x5566);
}

TEST_F(EngineEndToEnd, SplitReplyIsStillOneReply) {
    ReadOut();
    sim.SetFault({FaultKind::Split});
    EXPECT_EQ(Decod1.Transact(0x60, 0x00, 0xFF, 0xFF, true), Trama_Dec(0x20, 0x10, 0xFF, 0xFF));
}

TEST_F(EngineEndToEnd, StrayByteShiftsTheReply) {
    ReadOut();
    sim.SetFault({FaultKind::Stray});
    EXPECT_EQ(Decod1.Transact(0x60, 0x00, 0xFF, 0xFF, true),
              Trama_Dec(StrayByte, 0x20, 0x10, 0xFF));
}

} // namespace
} // namespace kalvex::sim::test
