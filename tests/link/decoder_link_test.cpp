#include "DECODER2.h"
#include "PacedFarEnd.h"
#include "PtyPair.h"
#include "QtApp.h"
#include "ScriptedFarEnd.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <termios.h>
#include <thread>
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

// Each attempt of a request that awaits its reply is announced before it is written; a
// request written twice without a reply has no attempts to announce.
TEST_F(DecoderLinkTest, AnnouncesEachAttemptOfARequestAwaitingItsReply) {
    const struct {
        const char* name;
        bool waitReply;
        int answeredAt; // index of the request the far end answers; -1: none
        std::vector<std::pair<int, int>> announced;
    } cases[] = {
        {"answered at once", true, 0, {{1, 3}}},
        {"answered at the second attempt", true, 1, {{1, 3}, {2, 3}}},
        {"silent", true, -1, {{1, 3}, {2, 3}, {3, 3}}},
        {"no reply awaited", false, -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<int, int>> announced;
        std::vector<int> writtenBefore;
        const int first = far.Requests();
        const auto connection =
            QObject::connect(&link, &TDECODER2::Intento_Empezado, [&](int intento, int intentos) {
                announced.emplace_back(intento, intentos);
                writtenBefore.push_back(far.Requests() - first);
            });
        far.OnRequest([&](ScriptedFarEnd& f, const QByteArray&, int index) {
            if (index - first == c.answeredAt)
                f.Send(Bytes({0x20, 0, 0, 0}));
        });
        link.Transact(0xB0, 0x02, 0x12, 0x34, c.waitReply);
        QObject::disconnect(connection);
        EXPECT_EQ(announced, c.announced);
        // The attempts before each announcement have all reached the far end.
        for (size_t k = 0; k < writtenBefore.size(); ++k)
            EXPECT_EQ(writtenBefore[k], static_cast<int>(k));
    }
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
    // Sent 10 ms apart, the first once the request can have reached the far end (its four
    // bytes take 5 ms at 9600 baud).
    std::vector<QByteArray> pieces;
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
                f.SendLater(static_cast<int>(10 + 10 * i), c.pieces[i]);
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
    ASSERT_TRUE(WaitUntil([&] { return link.BytesWaiting() == 2; }));
    EXPECT_EQ(unsolicited.size(), 1u);
    pty.Write(Bytes({0x12, 0x34}));
    ASSERT_TRUE(WaitUntil([&] { return unsolicited.size() == 2; }));
    EXPECT_EQ(unsolicited[1], Trama_Dec(0x00, 0x01, 0x12, 0x34));
}

// Bytes that cannot be the start of a frame any more are dropped before new ones are taken.
TEST_F(DecoderLinkTest, APartialFrameThatWaitedLongerThanAFrameTakesIsDebris) {
    const struct {
        const char* name;
        QByteArray debris;
        int pauseMs; // before the frame
        Trama_Dec expected;
    } cases[] = {
        {"stray byte, then a frame", Bytes({0xE5}), 150, {0x00, 0x01, 0x12, 0x34}},
        {"three bytes, then a frame", Bytes({0x40, 0x44, 0x12}), 150, {0x00, 0x01, 0x12, 0x34}},
        // Arriving together they are one burst, taken as it comes.
        {"stray byte in the same burst", Bytes({0xE5}), -1, {0xE5, 0x00, 0x01, 0x12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        unsolicited.clear();
        if (c.pauseMs < 0) {
            pty.Write(c.debris + Bytes({0x00, 0x01, 0x12, 0x34}));
        } else {
            pty.Write(c.debris);
            ASSERT_TRUE(WaitUntil([&] { return link.BytesWaiting() == c.debris.size(); }));
            WaitUntil([] { return false; }, c.pauseMs);
            pty.Write(Bytes({0x00, 0x01, 0x12, 0x34}));
        }
        ASSERT_TRUE(WaitUntil([&] { return unsolicited.size() == 1; }));
        EXPECT_EQ(unsolicited[0], c.expected);
        EXPECT_TRUE(WaitUntil([&] { return link.BytesWaiting() == 0; }));
    }
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

// Replies carry nothing that names their request: a late decoder's answer to the repeat of one
// write must not pass for the acknowledgement of the next.
TEST_F(DecoderLinkTest, AStaleReplyIsNotTakenForTheNextRequest) {
    far.OnRequest([](ScriptedFarEnd& f, const QByteArray& request, int index) {
        // The first write is answered 300 ms late, its repeat 200 ms after it; the second
        // write is never answered; the third at once.
        if (request[1] == 0x00 && index < 2)
            f.SendLater(index == 0 ? 300 : 200, Bytes({0x20, 0x00, 0x34, 0x12}));
        if (request[1] == 0x04)
            f.Send(Bytes({0x20, 0x04, 0x78, 0x56}));
    });
    EXPECT_EQ(link.Transact(0xB0, 0x00, 0x12, 0x34, true), Trama_Dec(0x20, 0x00, 0x34, 0x12));
    EXPECT_EQ(link.Transact(0xB0, 0x02, 0x12, 0x34, true), Trama_Sin_Respuesta);
    EXPECT_EQ(far.Received(), Bytes({0xB0, 0x00, 0x34, 0x12}).repeated(2) +
                                  Bytes({0xB0, 0x02, 0x34, 0x12}).repeated(3));
    EXPECT_EQ(link.Transact(0xB0, 0x04, 0x56, 0x78, true), Trama_Dec(0x20, 0x04, 0x78, 0x56));
    EXPECT_EQ(far.Requests(), 6);
    EXPECT_TRUE(unsolicited.empty());
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

// The decoder line at its real pace: one byte every 1.25 ms, replies only after the request
// has arrived. Every write is acknowledged with 20 and the request's bytes 1 to 3.
class PacedLineTest : public ::testing::Test, protected WithCoreApp {
protected:
    static QByteArray Acknowledgement(const QByteArray& request) {
        QByteArray ack = request;
        ack[0] = 0x20;
        return ack;
    }

    void SetUp() override {
        link.SetPort(pty.SlavePath());
        link.OnDECRecibedNotDemand = [this](QObject*, Trama_Dec frame) {
            unsolicited.push_back(frame);
        };
        link.Open();
    }

    // A Save as the editors run it: one write per register, each waiting for its
    // acknowledgement. Per write, whether its own acknowledgement came back.
    std::vector<bool> Save(uint8_t value) {
        std::vector<bool> acknowledged;
        for (uint8_t reg = 0; reg < 16; reg += 2) {
            const Trama_Dec reply = link.Transact(0xB0, reg, value, reg, true);
            acknowledged.push_back(reply == Trama_Dec(0x20, reg, reg, value));
        }
        return acknowledged;
    }

    PtyPair pty;
    TDECODER2 link;
    std::vector<Trama_Dec> unsolicited;
};

const std::vector<bool> AllEight(8, true);

TEST_F(PacedLineTest, AStrayByteWhileIdleCostsNoWrite) {
    for (int pauseMs : {0, 100}) {
        SCOPED_TRACE(pauseMs);
        PacedFarEnd far(pty, [](const QByteArray& request, int) {
            return std::vector<PacedFarEnd::Reply>{{{}, Acknowledgement(request)}};
        });
        far.Send(Bytes({0xE5}));
        ASSERT_TRUE(WaitUntil([&] { return link.BytesWaiting() == 1; }));
        WaitUntil([] { return false; }, pauseMs);
        EXPECT_EQ(Save(0x11), AllEight);
        EXPECT_EQ(far.Requests(), 8) << "each write went out once";
        EXPECT_TRUE(unsolicited.empty());
        ASSERT_TRUE(WaitUntil([&] { return far.Done(); }));
    }
}

TEST_F(PacedLineTest, AStrayByteJustBeforeAReplyCostsAtMostThatWrite) {
    for (int strayBefore : {0, 3, 7}) {
        SCOPED_TRACE(strayBefore);
        PacedFarEnd far(pty, [strayBefore](const QByteArray& request, int index) {
            QByteArray reply = Acknowledgement(request);
            if (index == strayBefore)
                reply.prepend('\xE5');
            return std::vector<PacedFarEnd::Reply>{{{}, reply}};
        });
        std::vector<bool> first = Save(0x22);
        first[static_cast<size_t>(strayBefore)] = true; // this one may be lost
        EXPECT_EQ(first, AllEight);
        EXPECT_EQ(Save(0x33), AllEight) << "the next Save from its first reply on";
        EXPECT_EQ(far.Requests(), 16);
        EXPECT_TRUE(unsolicited.empty());
        ASSERT_TRUE(WaitUntil([&] { return far.Done(); }));
        WaitUntil([] { return false; }, 20); // the last tail, if any, reaches the link
    }
}

// A decoder asked for its read-out starts it at the first copy of the request, which the link
// writes twice: its first frame may arrive while the second copy is still being written, here
// with the program held up for 2 ms between the two copies.
TEST_F(PacedLineTest, AFrameAnsweringTheFirstCopyOfARequestWrittenTwiceIsTakenWhole) {
    struct Retraso : TObservador_Linea {
        int peticiones = 0;
        void Suceso(const TSuceso_Linea& s) noexcept override {
            if (s.Clase == TSuceso_Linea::Peticion && ++peticiones == 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    } retraso;
    link.Observa(&retraso);
    const QByteArray first = Bytes({0x00, 0x00, 0x01, 0x10});
    // Where the frame falls against the link's reckoning varies with the machine's timing:
    // several rounds.
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        retraso.peticiones = 0;
        unsolicited.clear();
        PacedFarEnd far(pty, [&first](const QByteArray&, int index) {
            return index % 2 == 0 ? std::vector<PacedFarEnd::Reply>{{{}, first}}
                                  : std::vector<PacedFarEnd::Reply>{};
        });
        link.Transact(0x50, 0x10, 0x10, 0x01, false);
        EXPECT_TRUE(WaitUntil([&] { return !unsolicited.empty(); }, 500));
        ASSERT_EQ(unsolicited.size(), 1U);
        EXPECT_EQ(unsolicited[0], Trama_Dec(0x00, 0x00, 0x01, 0x10));
        ASSERT_TRUE(WaitUntil([&] { return far.Done(); }));
        WaitUntil([] { return false; }, 20); // nothing left on the way
    }
    link.Observa(nullptr);
}

// A read-out: the decoder sends each frame once the previous one is acknowledged, one of them
// in two pieces as a USB adapter may deliver it.
TEST_F(PacedLineTest, ReadOutFramesAreStillTakenAsFrames) {
    const std::vector<QByteArray> frames = {
        Bytes({0x00, 0x00, 0x01, 0x10}), Bytes({0x00, 0x01, 0x02, 0x10}),
        Bytes({0x00, 0x02, 0xFF, 0xFF}), Bytes({0x00, 0x03, 0x04, 0x10}),
        Bytes({0x40, 0x44, 0xFF, 0xFF})};
    link.OnDECRecibedNotDemand = [this](QObject*, Trama_Dec frame) {
        unsolicited.push_back(frame);
        link.Envia_Trama(Trama_Dec(0x20, frame[0], frame[2], frame[3]));
    };
    PacedFarEnd far(pty, [&frames](const QByteArray&, int index) {
        const size_t next = static_cast<size_t>(index) + 1;
        if (next >= frames.size())
            return std::vector<PacedFarEnd::Reply>{};
        if (next == 2) // 16 ms apart: a USB adapter's latency timer
            return std::vector<PacedFarEnd::Reply>{
                {std::chrono::milliseconds(0), frames[next].left(2)},
                {std::chrono::milliseconds(16), frames[next].mid(2)}};
        return std::vector<PacedFarEnd::Reply>{{{}, frames[next]}};
    });
    far.Send(Bytes({0xE5})); // a stray byte while idle
    ASSERT_TRUE(WaitUntil([&] { return link.BytesWaiting() == 1; }));
    WaitUntil([] { return false; }, 100);
    far.Send(frames[0]);
    ASSERT_TRUE(WaitUntil([&] { return unsolicited.size() == frames.size(); }));
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(unsolicited[i],
                  Trama_Dec(frames[i][0], frames[i][1], frames[i][2], frames[i][3]));
    ASSERT_TRUE(WaitUntil([&] { return far.Requests() == 5; }));
    EXPECT_EQ(far.Received(), Bytes({0x20, 0x00, 0x01, 0x10, 0x20, 0x00, 0x02, 0x10, 0x20, 0x00,
                                     0xFF, 0xFF, 0x20, 0x00, 0x04, 0x10, 0x20, 0x40, 0xFF, 0xFF}));
}

} // namespace
