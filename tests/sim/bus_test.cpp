// The decoders' behaviour as seen from the program's end of the line.

#include "SimFixture.h"

namespace kalvex::sim::test {
namespace {

using Frames = std::vector<Frame>;

class ReadOutTest : public SimFixture {};

TEST_F(ReadOutTest, EachFrameWaitsForItsAcknowledgement) {
    sim->PressButton("hall");
    ASSERT_EQ(line->ReadFrame(), (Frame{0x00, 0x00, 0x01, 0x10}));
    EXPECT_TRUE(line->Quiet()) << "sent on without an acknowledgement";
    line->Send(Frame{0x20, 0x00, 0x01, 0x11}); // not this frame's bytes
    EXPECT_TRUE(line->Quiet()) << "took a wrong acknowledgement";
    line->Send(Frame{0x20, 0x00, 0x01, 0x10});
    EXPECT_EQ(line->ReadFrame(), (Frame{0x00, 0x01, 0x02, 0x10}));
}

struct Expected {
    int decoder;
    Frames frames;
};

TEST_F(ReadOutTest, FramesFollowTheModelsOrderAndEndWithTheIdentification) {
    const std::vector<Expected> cases = {
        {Hall,
         {{0x00, 0, 0x01, 0x10},
          {0x00, 1, 0x02, 0x10},
          {0x00, 2, 0xFF, 0xFF},
          {0x00, 3, 0x04, 0x10},
          {0x40, 0x44, 0xFF, 0xFF}}},
        {Relays,
         {{0x00, 0, 0x01, 0xB2},
          {0x00, 1, 0xFF, 0xFF},
          {0x00, 2, 0xFF, 0xFF},
          {0x00, 3, 0xFF, 0xFF},
          {0x00, 4, 0xFF, 0xFF},
          {0x00, 5, 0xFF, 0xFF},
          {0x00, 6, 0xFF, 0xFF},
          {0x00, 7, 0xFF, 0xFF},
          {0x40, 0x28, 0xFF, 0xFF}}},
        {Converter, {{0x00, 0, 0x34, 0x12}, {0x40, 0x31, 0xFF, 0xFF}}},
        {Blocks,
         {{0x00, 0, 0x00, 0x07},
          {0x00, 1, 0x99, 0x07},
          {0x00, 2, 0xFF, 0xFF},
          {0x00, 3, 0xFF, 0xFF},
          {0x40, 0x44, 0xFF, 0xFF}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sim->DecoderName(c.decoder));
        sim->PressButton(c.decoder);
        Frames got;
        for (size_t i = 0; i < c.frames.size(); ++i)
            got.push_back(TakeAndAcknowledge());
        EXPECT_EQ(got, c.frames);
        EXPECT_TRUE(line->Quiet());
        EXPECT_TRUE(sim->InProgramming(c.decoder));
    }
}

TEST_F(ReadOutTest, StopsWhenTheAcknowledgementNeverComes) {
    sim->PressButton(Hall);
    const auto first = line->ReadFrame();
    ASSERT_TRUE(first);
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (sim->InProgramming(Hall) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(sim->InProgramming(Hall));
    line->Send(Frame{0x20, (*first)[0], (*first)[2], (*first)[3]});
    EXPECT_TRUE(line->Quiet());
}

TEST_F(ReadOutTest, ProgrammingRequestWrittenTwiceStartsOneReadOut) {
    line->Send({0x50, 0x10, 0x34, 0x12, 0x50, 0x10, 0x34, 0x12});
    EXPECT_EQ(TakeAndAcknowledge(), (Frame{0x00, 0x00, 0x34, 0x12}));
    EXPECT_EQ(TakeAndAcknowledge(), (Frame{0x40, 0x31, 0xFF, 0xFF}));
    EXPECT_TRUE(line->Quiet());
    EXPECT_TRUE(sim->InProgramming(Converter));
}

TEST_F(ReadOutTest, ProgrammingRequestForAnUnservedCodeIsIgnored) {
    line->Send(Frame{0x50, 0x10, 0x99, 0x99});
    EXPECT_TRUE(line->Quiet());
}

class RequestTest : public SimFixture {};

TEST_F(RequestTest, NothingAnswersOutsideProgrammingMode) {
    EXPECT_EQ(Ask({0xB0, 0x00, 0x34, 0x12}), std::nullopt);
    EXPECT_EQ(sim->Word(Hall, 0x00), 0x1001);
}

TEST_F(RequestTest, WritesLandInMemoryHighByteInTheEvenRegister) {
    ReadOut(Hall, 5);
    EXPECT_EQ(Ask({0xB0, 0x02, 0x34, 0x12}), (Frame{0x20, 0x02, 0x34, 0x12}));
    EXPECT_EQ(sim->Register(Hall, 0x02), 0x12);
    EXPECT_EQ(sim->Register(Hall, 0x03), 0x34);
    EXPECT_EQ(Ask({0x60, 0x03, 0xFF, 0xFF}), (Frame{0x20, 0x34, 0xFF, 0xFF}));
}

TEST_F(RequestTest, FramesOutsideTheModelsMapAreIgnored) {
    ReadOut(Hall, 5);
    const Frames ignored = {
        {0xB0, 0x03, 0x34, 0x12}, // odd register
        {0xB0, 0x08, 0x34, 0x12}, // a fifth output on a four-output decoder
        {0x80, 0x01, 0x01, 0x10}, // arming is the sensors decoder's
        {0x65, 0x23, 0xFF, 0x12}, // a unit read is the digitizer's
        {0x20, 0x00, 0x01, 0x10}, // an acknowledgement nobody awaits
    };
    for (const Frame& f : ignored)
        EXPECT_EQ(Ask(f), std::nullopt) << ToHex(f);
    EXPECT_EQ(sim->Word(Hall, 0x02), 0x1002);
    EXPECT_EQ(sim->Word(Hall, 0x08), 0xFFFF);
}

TEST_F(RequestTest, SensorsTimesAreReadWithTheOutputsCodeAndArmedByCode) {
    ReadOut(Sensors, 9);
    EXPECT_EQ(Ask({0x60, 0x20, 0x01, 0xA1}), (Frame{0x20, 0x0A, 0x01, 0xA1}));
    EXPECT_EQ(Ask({0x60, 0x22, 0x02, 0xA1}), (Frame{0x20, 0x85, 0x02, 0xA1}));
    EXPECT_EQ(Ask({0x60, 0x20, 0x02, 0xA1}), std::nullopt) << "answered another output's code";
    EXPECT_EQ(Ask({0xB0, 0x22, 0xFF, 0x8A}), (Frame{0x20, 0x22, 0xFF, 0x8A}));
    EXPECT_EQ(sim->Register(Sensors, 0x22), 0x8A);
    EXPECT_EQ(sim->Register(Sensors, 0x23), 0xFF);
    EXPECT_EQ(Ask({0x80, 0x01, 0x02, 0xA1}), (Frame{0x20, 0x01, 0x02, 0xA1}));
    EXPECT_EQ(Ask({0x80, 0x01, 0x09, 0xA1}), std::nullopt) << "armed a code it does not hold";
}

TEST_F(RequestTest, RelaysTimeAndStateShareOneWrite) {
    ReadOut(Relays, 9);
    EXPECT_EQ(Ask({0x60, 0x20, 0x01, 0xB2}), (Frame{0x20, 200, 0x01, 0xB2}));
    EXPECT_EQ(Ask({0x60, 0x21, 0x01, 0xB2}), (Frame{0x20, 0x01, 0x01, 0xB2}));
    EXPECT_EQ(Ask({0xB0, 0x20, 0x00, 0x2C}), (Frame{0x20, 0x20, 0x00, 0x2C}));
    EXPECT_EQ(sim->Register(Relays, 0x20), 0x2C);
    EXPECT_EQ(sim->Register(Relays, 0x21), 0x00);
}

TEST_F(RequestTest, ClosingFrameEndsProgrammingModeOnlyForItsModel) {
    ReadOut(Sensors, 9);
    line->Send(Frame{0x50, 0x20, 0xFF, 0x9F}); // another model's
    EXPECT_TRUE(line->Quiet());
    EXPECT_TRUE(sim->InProgramming(Sensors));
    line->Send({0x50, 0x20, 0xFF, 0xAF, 0x50, 0x20, 0xFF, 0xAF, 0x50, 0x04, 0xFF, 0xAF});
    EXPECT_TRUE(line->Quiet());
    EXPECT_FALSE(sim->InProgramming(Sensors));
    EXPECT_EQ(Ask({0x60, 0x20, 0x01, 0xA1}), std::nullopt);
}

TEST_F(RequestTest, QueriesAreAnsweredByTheDecoderServingTheCode) {
    const std::vector<std::pair<Frame, std::optional<Frame>>> cases = {
        {{0x70, 0x01, 0x02, 0x10}, Frame{0x20, 0x44, 0x02, 0x10}},
        {{0x70, 0x01, 0x01, 0xA1}, Frame{0x20, 0x18, 0x01, 0xA1}},
        {{0x70, 0x01, 0x01, 0xB2}, Frame{0x20, 0x28, 0x01, 0xB2}},
        {{0x70, 0x01, 0x34, 0x12}, Frame{0x20, 0x31, 0x34, 0x12}},
        {{0x70, 0x01, 0x04, 0x10}, std::nullopt}, // stored but not served
        {{0x70, 0x01, 0x99, 0x99}, std::nullopt},
        {{0x70, 0x02, 0x02, 0x10}, std::nullopt}, // not a query
    };
    for (const auto& [query, answer] : cases)
        EXPECT_EQ(Ask(query), answer) << ToHex(query);
}

class DigitizerTest : public SimFixture {};

TEST_F(DigitizerTest, AnnouncesInPairsAndMovesToItsNewAddress) {
    sim->AnnounceDigitizer();
    EXPECT_EQ(line->ReadFrame(), (Frame{0x53, 0xFF, 0xFF, 0x12}));
    EXPECT_EQ(line->ReadFrame(), (Frame{0x53, 0xFF, 0xFF, 0x12}));
    EXPECT_EQ(Ask({0x63, 0x23, 0xFF, 0x12}), (Frame{0x23, 0x05, 0xFF, 0x12}));
    EXPECT_EQ(Ask({0x63, 0x24, 0xFF, 0x12}), (Frame{0x23, 0x02, 0xFF, 0x12}));
    EXPECT_EQ(Ask({0x64, 0x23, 0xFF, 0x12}), std::nullopt) << "answered another panel";
    EXPECT_EQ(Ask({0x63, 0x23, 0xFF, 0x13}), std::nullopt) << "answered another block";

    EXPECT_EQ(Ask({0xD3, 0x21, 0x05, 0x12}), (Frame{0x25, 0x21, 0x05, 0x12}));
    EXPECT_EQ(Ask({0xD3, 0x22, 0x07, 0x12}), std::nullopt) << "still answers at panel 3";
    EXPECT_EQ(Ask({0xD5, 0x22, 0x07, 0x12}), (Frame{0x25, 0x22, 0x07, 0x12}));
    EXPECT_EQ(Ask({0xD5, 0x23, 0x09, 0x07}), (Frame{0x25, 0x23, 0x09, 0x07}));
    EXPECT_EQ(Ask({0x65, 0x23, 0xFF, 0x07}), (Frame{0x25, 0x09, 0xFF, 0x07}));
    EXPECT_EQ(sim->Register(Digitizer, 0x21), 5);
    EXPECT_EQ(sim->Register(Digitizer, 0x22), 0x07);

    line->Send(Frame{0xC0, 0x01, 0xFF, 0x9F});
    EXPECT_TRUE(line->Quiet());
    EXPECT_FALSE(sim->InProgramming(Digitizer));
    sim->AnnounceDigitizer();
    EXPECT_EQ(line->ReadFrame(), (Frame{0x55, 0xFF, 0xFF, 0x07}));
}

TEST_F(DigitizerTest, RefusesAPanelThatDoesNotFitTheCommandByte) {
    sim->AnnounceDigitizer();
    line->Read(8);
    EXPECT_EQ(Ask({0xD3, 0x21, 0x10, 0x12}), std::nullopt);
    EXPECT_EQ(sim->Register(Digitizer, 0x21), 3);
}

TEST_F(SimFixture, LogHoldsBothDirectionsInOrder) {
    line->Send(Frame{0x70, 0x01, 0x02, 0x10});
    ASSERT_TRUE(sim->WaitForFrames(Direction::ToProgram, 1, 1000ms));
    const auto log = sim->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].direction, Direction::FromProgram);
    EXPECT_EQ(log[0].frame, (Frame{0x70, 0x01, 0x02, 0x10}));
    EXPECT_EQ(log[1].direction, Direction::ToProgram);
    EXPECT_EQ(log[1].frame, (Frame{0x20, 0x44, 0x02, 0x10}));
    EXPECT_FALSE(sim->WaitForFrames(Direction::ToProgram, 2, 100ms));
}

TEST_F(SimFixture, PortCanBeClosedAndOpenedAgain) {
    line.reset();
    line = std::make_unique<LineEnd>(dir.Path("tty"));
    EXPECT_EQ(Ask({0x70, 0x01, 0x02, 0x10}), (Frame{0x20, 0x44, 0x02, 0x10}));
}

TEST_F(SimFixture, ALostByteDoesNotShiftLaterFrames) {
    line->Send(std::vector<uint8_t>{0x70});
    std::this_thread::sleep_for(150ms); // longer than a frame's bytes ever lie apart
    EXPECT_EQ(Ask({0x70, 0x01, 0x02, 0x10}), (Frame{0x20, 0x44, 0x02, 0x10}));
}

TEST_F(SimFixture, SavedInstallationHoldsWhatTheProgramWrote) {
    ReadOut(Hall, 5);
    ASSERT_TRUE(Ask({0xB0, 0x06, 0x99, 0x09}));
    sim->SaveTo(dir.Path("saved.ini"));
    const auto saved = LoadInstallation(dir.Path("saved.ini"));
    EXPECT_EQ(saved.decoders[Hall].Word(0x06), 0x0999);
    const auto original = ParseInstallation(SmallInstallation, "small");
    EXPECT_EQ(saved.decoders[Relays].memory, original.decoders[Relays].memory);
}

} // namespace
} // namespace kalvex::sim::test
