#include "DECODER2.h"
#include "PtyPair.h"
#include "QtApp.h"
#include "ScriptedFarEnd.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <termios.h>
#include <vector>

using namespace kalvex::test;

namespace {

class DecoderLinkTest : public ::testing::Test, protected WithCoreApp {
protected:
    void SetUp() override {
        link.SetPort(pty.SlavePath());
        link.OnDECRecibedNotDemand = [this](QObject* sender, Trama_Dec frame) {
            EXPECT_EQ(sender, &link);
            unsolicited.push_back(frame);
        };
        link.Open();
    }

    PtyPair pty;
    ScriptedFarEnd far{pty};
    TDECODER2 link;
    std::vector<Trama_Dec> unsolicited;
};

TEST_F(DecoderLinkTest, RunsTheDecoderLineSettings) {
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.Slave(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARODD | CSTOPB | CRTSCTS | HUPCL), tcflag_t(PARODD | CSTOPB));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_EQ(link.T_Respuesta->interval(), 250);
}

TEST_F(DecoderLinkTest, ASilentLineGetsThreeAttemptsAndNoReply) {
    Trama_Dec r = link.Transact(0x60, 0x23, 0x12, 0xAB, true);
    EXPECT_EQ(r, Trama_Sin_Respuesta);
    ASSERT_TRUE(WaitUntil([&] { return far.Requests() == 3; }));
    EXPECT_EQ(far.Received(), Bytes({0x60, 0x23, 0xAB, 0x12}).repeated(3));
}

TEST_F(DecoderLinkTest, ARequestWithoutReplyIsWrittenTwiceBackToBack) {
    Trama_Dec r = link.Transact(0x50, 0x20, 0xFF, 0x9F, false);
    EXPECT_EQ(r, Trama_Sin_Respuesta);
    ASSERT_TRUE(WaitUntil([&] { return far.Requests() == 2; }));
    EXPECT_EQ(far.Received(), Bytes({0x50, 0x20, 0x9F, 0xFF}).repeated(2));
}

TEST_F(DecoderLinkTest, DataHighTravelsInByteThree) {
    far.OnRequest([](ScriptedFarEnd& f, const QByteArray&, int) {
        f.Send(Bytes({0x20, 0, 0, 0}));
    });
    link.Transact(0xB0, 0x02, 0x12, 0x34, true);
    EXPECT_EQ(far.Received(), Bytes({0xB0, 0x02, 0x34, 0x12}));
}

// Replies as the far end sends them, and the frame the engine takes from them.
struct ReplyCase {
    const char* name;
    std::vector<QByteArray> pieces; // sent 30 ms apart
    Trama_Dec expected;
};

TEST_F(DecoderLinkTest, TakesTheFirstFourBytesWaitingAsTheReply) {
    const ReplyCase cases[] = {
        {"whole", {Bytes({0x20, 0x05, 0x12, 0x34})}, {0x20, 0x05, 0x12, 0x34}},
        {"in two pieces", {Bytes({0x20, 0x07, 0x12}), Bytes({0x34})}, {0x20, 0x07, 0x12, 0x34}},
        {"six at once", {Bytes({0x20, 0x01, 0x02, 0x03, 0x04, 0x05})}, {0x20, 0x01, 0x02, 0x03}},
        {"stray byte first", {Bytes({0x55, 0x20, 0x09, 0x12, 0x34})}, {0x55, 0x20, 0x09, 0x12}},
        {"any content", {Bytes({0x88, 0x88, 0x88, 0x88})}, {0x88, 0x88, 0x88, 0x88}},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = far.Requests();
        far.OnRequest([&](ScriptedFarEnd& f, const QByteArray&, int) {
            for (size_t i = 0; i < c.pieces.size(); ++i)
                f.SendLater(static_cast<int>(30 * i), c.pieces[i]);
        });
        Trama_Dec r = link.Transact(0x60, 0x23, 0x12, 0xAB, true);
        EXPECT_EQ(r, c.expected);
        EXPECT_EQ(far.Requests() - before, 1); // no retry once answered
        EXPECT_TRUE(unsolicited.empty());
    }
}

TEST_F(DecoderLinkTest, AnUnsolicitedFrameIsReportedExactlyOnce) {
    pty.Write(Bytes({0x40, 0x44, 0x12, 0x34}));
    ASSERT_TRUE(WaitUntil([&] { return !unsolicited.empty(); }));
    WaitUntil([] { return false; }, 100);
    ASSERT_EQ(unsolicited.size(), 1u);
    EXPECT_EQ(unsolicited[0], Trama_Dec(0x40, 0x44, 0x12, 0x34));
    EXPECT_EQ(unsolicited[0].Value(), 0x34124440u);

    pty.Write(Bytes({0x00, 0x01})); // half a frame waits for the rest
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(unsolicited.size(), 1u);
    pty.Write(Bytes({0x12, 0x34}));
    ASSERT_TRUE(WaitUntil([&] { return unsolicited.size() == 2; }));
    EXPECT_EQ(unsolicited[1], Trama_Dec(0x00, 0x01, 0x12, 0x34));
}

TEST_F(DecoderLinkTest, ALateReplyIsTakenByTheNextAttempt) {
    far.OnRequest([](ScriptedFarEnd& f, const QByteArray&, int index) {
        if (index == 0)
            f.SendLater(350, Bytes({0x20, 0x42, 0, 0})); // after the first 250 ms wait
    });
    Trama_Dec r = link.Transact(0x70, 0x01, 0x00, 0x25, true);
    EXPECT_EQ(r, Trama_Dec(0x20, 0x42, 0, 0));
    EXPECT_EQ(far.Requests(), 2);
    EXPECT_TRUE(unsolicited.empty());
}

TEST_F(DecoderLinkTest, AReplyAfterTheLastAttemptIsUnsolicited) {
    far.OnRequest([](ScriptedFarEnd& f, const QByteArray&, int index) {
        if (index == 2)
            f.SendLater(400, Bytes({0x20, 0x11, 0, 0}));
    });
    EXPECT_EQ(link.Transact(0x60, 0x23, 0, 0, true), Trama_Sin_Respuesta);
    ASSERT_TRUE(WaitUntil([&] { return unsolicited.size() == 1; }));
    EXPECT_EQ(unsolicited[0], Trama_Dec(0x20, 0x11, 0, 0));
}

TEST_F(DecoderLinkTest, ASecondTransactionDuringTheWaitIsRefusedAndTheFirstCarriesOn) {
    far.OnRequest([](ScriptedFarEnd& f, const QByteArray&, int) {
        f.SendLater(100, Bytes({0x20, 0x33, 0, 0}));
    });
    bool refused = false;
    QTimer::singleShot(20, [&] {
        try {
            link.Transact(0xB0, 0x00, 0x12, 0x34, true);
        } catch (const EDecoderBusy&) {
            refused = true;
        }
    });
    Trama_Dec r = link.Transact(0x60, 0x23, 0, 0, true);
    EXPECT_TRUE(refused);
    EXPECT_EQ(r, Trama_Dec(0x20, 0x33, 0, 0));
    EXPECT_EQ(far.Received(), Bytes({0x60, 0x23, 0, 0}));
}

TEST_F(DecoderLinkTest, AFailedWriteLeavesTheEngineIdle) {
    link.Close();
    try {
        link.Transact(0xB0, 0, 0, 0, true);
        FAIL();
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_WriteFailed);
    }
    EXPECT_THROW(link.Transact(0x50, 0x20, 0, 0, false), ESerialLine);
    link.Open();
    pty.Write(Bytes({0x00, 0x01, 0x02, 0x03}));
    EXPECT_TRUE(WaitUntil([&] { return unsolicited.size() == 1; }));
}

TEST_F(DecoderLinkTest, DirectFramesAreWrittenOnceWithoutTheEngine) {
    link.Envia_Trama(Trama_Dec(0x20, 0x00, 0x12, 0x34));
    ASSERT_TRUE(WaitUntil([&] { return far.Requests() == 1; }));
    WaitUntil([] { return false; }, 50);
    EXPECT_EQ(far.Received(), Bytes({0x20, 0x00, 0x12, 0x34}));
}

} // namespace
