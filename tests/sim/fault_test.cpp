// Each fault does what it says, and only to the replies it is aimed at.

#include "SimFixture.h"

namespace kalvex::sim::test {
namespace {

const Frame Query{0x70, 0x01, 0x02, 0x10};
const Frame Answer{0x20, 0x44, 0x02, 0x10};

class FaultTest : public SimFixture {};

TEST_F(FaultTest, SilentDecoderDoesNotAnswer) {
    sim->SetFault({FaultKind::Silent, Hall});
    EXPECT_EQ(Ask(Query), std::nullopt);
    EXPECT_TRUE(line->Quiet(400ms));
    EXPECT_EQ(Ask({0x70, 0x01, 0x01, 0xA1}), (Frame{0x20, 0x18, 0x01, 0xA1})) << "another decoder";
    sim->ClearFault(FaultKind::Silent, Hall);
    EXPECT_EQ(Ask(Query), Answer);
}

TEST_F(FaultTest, WrongStatusIsNoAcceptance) {
    sim->SetFault({FaultKind::WrongStatus});
    EXPECT_EQ(Ask(Query), (Frame{WrongStatusByte, 0x44, 0x02, 0x10}));
}

TEST_F(FaultTest, LateReplyComesAfterTheProgramsWait) {
    sim->SetFault({FaultKind::Late, Hall});
    EXPECT_EQ(Ask(Query), std::nullopt);
    EXPECT_EQ(line->ReadFrame(1000ms), Answer);
}

TEST_F(FaultTest, SplitReplyArrivesInPieces) {
    sim->SetFault({FaultKind::Split, Hall});
    line->Send(Query);
    EXPECT_GT(line->ReadPieces(4).size(), 1u);
    EXPECT_EQ(line->LastRead(), std::vector<uint8_t>(Answer.begin(), Answer.end()));
}

TEST_F(FaultTest, StrayByteComesFirst) {
    sim->SetFault({FaultKind::Stray, Hall});
    line->Send(Query);
    EXPECT_EQ(line->Read(5), (std::vector<uint8_t>{StrayByte, 0x20, 0x44, 0x02, 0x10}));
}

TEST_F(FaultTest, CountedFaultWearsOff) {
    sim->SetFault({FaultKind::Silent, Hall, -1, 2});
    EXPECT_EQ(Ask(Query), std::nullopt);
    EXPECT_EQ(Ask(Query), std::nullopt);
    EXPECT_EQ(Ask(Query), Answer);
}

TEST_F(FaultTest, RegisterFilterHitsOnlyThatRegister) {
    ReadOut(Hall, 5);
    sim->SetFault({FaultKind::Silent, Hall, 0x02});
    EXPECT_EQ(Ask({0xB0, 0x00, 0x11, 0x11}), (Frame{0x20, 0x00, 0x11, 0x11}));
    EXPECT_EQ(Ask({0xB0, 0x02, 0x22, 0x22}), std::nullopt);
    EXPECT_EQ(Ask({0xB0, 0x04, 0x33, 0x33}), (Frame{0x20, 0x04, 0x33, 0x33}));
}

TEST_F(FaultTest, FaultsOnTwoRegistersOfOneDecoderHoldTogether) {
    ReadOut(Hall, 5);
    sim->SetFault({FaultKind::Silent, Hall, 0x02});
    sim->SetFault({FaultKind::Silent, Hall, 0x06, 1});
    EXPECT_EQ(Ask({0xB0, 0x02, 0x22, 0x22}), std::nullopt);
    EXPECT_EQ(Ask({0xB0, 0x04, 0x33, 0x33}), (Frame{0x20, 0x04, 0x33, 0x33}));
    EXPECT_EQ(Ask({0xB0, 0x06, 0x44, 0x44}), std::nullopt);
    // Set again for the same register, a fault replaces its earlier self.
    sim->SetFault({FaultKind::Silent, Hall, 0x02, 1});
    EXPECT_EQ(Ask({0xB0, 0x02, 0x22, 0x22}), std::nullopt);
    EXPECT_EQ(Ask({0xB0, 0x02, 0x22, 0x22}), (Frame{0x20, 0x02, 0x22, 0x22}));
    EXPECT_EQ(Ask({0xB0, 0x06, 0x44, 0x44}), (Frame{0x20, 0x06, 0x44, 0x44})) << "worn off";
    sim->SetFault({FaultKind::Silent, Hall, 0x02});
    sim->SetFault({FaultKind::Silent, Hall, 0x06});
    sim->ClearFault(FaultKind::Silent, Hall);
    EXPECT_EQ(Ask({0xB0, 0x02, 0x22, 0x22}), (Frame{0x20, 0x02, 0x22, 0x22}));
    EXPECT_EQ(Ask({0xB0, 0x06, 0x44, 0x44}), (Frame{0x20, 0x06, 0x44, 0x44}));
}

TEST_F(FaultTest, ReadOutFramesAreNotBent) {
    sim->SetFault({FaultKind::Silent});
    sim->PressButton(Converter);
    EXPECT_EQ(line->ReadFrame(), (Frame{0x00, 0x00, 0x34, 0x12}));
}

TEST_F(FaultTest, NoisePutsBytesOnTheLineUnasked) {
    sim->SetFault({FaultKind::Noise, AnyDecoder, -1, 3});
    EXPECT_FALSE(line->Read(1, 2000ms).empty());
    EXPECT_TRUE(sim->Log().empty()) << "noise is not a frame";
}

// A paced line takes four byte times for the request to arrive and four for the reply. Only
// a lower bound is checked: a loaded machine can make it slower, never faster.
TEST_F(FaultTest, PacedRepliesTakeTheLineTimeBothWays) {
    sim->SetPacing(true);
    EXPECT_EQ(Ask(Query), Answer);
    const auto log = sim->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_GE(log[1].at - log[0].at, 8 * ByteTime);
}

} // namespace
} // namespace kalvex::sim::test
