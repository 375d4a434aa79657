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
constexpr int Hall = 0;

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
    template <typename Cond> bool Until(Cond cond, std::chrono::milliseconds within = 3s) {
        const auto deadline = std::chrono::steady_clock::now() + within;
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

    // Writes registers 0 to 6 as a Save does, each waiting for its acknowledgement; per write,
    // whether the decoder's own acknowledgement of it came back.
    std::vector<bool> Save(uint8_t high) {
        std::vector<bool> acknowledged;
        for (uint8_t reg = 0; reg < 8; reg += 2) {
            const Trama_Dec r = Decod1.Transact(0xB0, reg, high, reg, true);
            acknowledged.push_back(r == Trama_Dec(0x20, reg, reg, high));
        }
        return acknowledged;
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

// At the line's rate: a far end that answers before the request can have reached it, and
// then in pieces, is one the link takes for debris (nothing real can answer that early).
TEST_F(EngineEndToEnd, SplitReplyIsStillOneReply) {
    ReadOut();
    sim.SetPacing(true);
    sim.SetFault({FaultKind::Split});
    EXPECT_EQ(Decod1.Transact(0x60, 0x00, 0xFF, 0xFF, true), Trama_Dec(0x20, 0x10, 0xFF, 0xFF));
}

TEST_F(EngineEndToEnd, StrayByteShiftsTheReply) {
    ReadOut();
    sim.SetFault({FaultKind::Stray});
    EXPECT_EQ(Decod1.Transact(0x60, 0x00, 0xFF, 0xFF, true),
              Trama_Dec(StrayByte, 0x20, 0x10, 0xFF));
}

// The decoder answers the first write, and its repeat, 300 ms late; the second write it does
// not answer. The answer to the repeat arrives while the second write waits.
TEST_F(EngineEndToEnd, AStaleReplyIsNotTakenForTheNextWrite) {
    ReadOut();
    sim.SetFault({FaultKind::Late, Hall, 0x00, 2});
    sim.SetFault({FaultKind::Silent, Hall, 0x02});
    EXPECT_EQ(Decod1.Transact(0xB0, 0x00, 0x12, 0x34, true), Trama_Dec(0x20, 0x00, 0x34, 0x12));
    EXPECT_EQ(Decod1.Transact(0xB0, 0x02, 0x56, 0x78, true), Trama_Sin_Respuesta);
    sim.ClearFaults();
    EXPECT_EQ(Decod1.Transact(0xB0, 0x04, 0x9A, 0xBC, true), Trama_Dec(0x20, 0x04, 0xBC, 0x9A));
}

const std::vector<bool> AllFour(4, true);

TEST_F(EngineEndToEnd, NoiseWhileIdleCostsNoWrite) {
    ReadOut();
    sim.SetPacing(true);
    sim.SetFault({FaultKind::Noise, AnyDecoder, -1, 1});
    ASSERT_TRUE(Until([this] { return Decod1.BytesWaiting() > 0; }));
    // The rest of the burst, if any, follows within a few byte times; then the line is idle.
    Until([] { return false; }, 50ms);
    EXPECT_EQ(Save(0x11), AllFour);
    EXPECT_EQ(sim.Log().size(), 8u) << "each write once, each answered";
}

// At the line's rate a reply arrives byte by byte: a stray byte in front of one pushes its
// last byte out of the frame, where it must not take the place of the next reply's first.
TEST_F(EngineEndToEnd, AStrayByteBeforeAReplyCostsAtMostThatWrite) {
    ReadOut();
    sim.SetPacing(true);
    sim.SetFault({FaultKind::Stray, Hall, 0x02, 1});
    std::vector<bool> first = Save(0x11);
    first[1] = true; // the write whose reply the stray byte preceded may be lost
    EXPECT_EQ(first, AllFour);
    EXPECT_EQ(Save(0x22), AllFour);
    for (uint8_t reg = 0; reg < 8; reg += 2)
        EXPECT_EQ(sim.Word(Hall, reg), 0x2200 | reg);
}

} // namespace
} // namespace kalvex::sim::test
