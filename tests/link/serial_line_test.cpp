#include "PtyPair.h"
#include "QtApp.h"
#include "USerialLine.h"

#include <gtest/gtest.h>

#include "SerialTermios.h"
#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kalvex::test;

namespace {

int ThreadCount() {
    return static_cast<int>(
        QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

class SerialLineTest : public ::testing::Test, protected WithCoreApp {
protected:
    PtyPair pty;
};

// Leaves exactly one descriptor number free below the soft limit, so that the device still
// opens and the next descriptor the process asks for (the event thread's stop event) fails
// with EMFILE. Undone when it goes.
class OneDescriptorLeft {
public:
    OneDescriptorLeft() {
        getrlimit(RLIMIT_NOFILE, &old_);
        const int lowestFree = fcntl(0, F_DUPFD_CLOEXEC, 0);
        rlimit tight = old_;
        tight.rlim_cur = static_cast<rlim_t>(lowestFree) + 1;
        setrlimit(RLIMIT_NOFILE, &tight);
        ::close(lowestFree); // every number below it is taken, by definition
    }
    ~OneDescriptorLeft() { setrlimit(RLIMIT_NOFILE, &old_); }

private:
    rlimit old_{};
};

TEST_F(SerialLineTest, FailedOpensRaiseCodeOneWithErrnoAndLeaveThePortUsable) {
    struct Case {
        QString port;
        int errnoValue;
    } cases[] = {{"/dev/kalvex-no-such-device", ENOENT}, {"", ENOENT}, {"COMX", ENOENT}};
    for (const Case& c : cases) {
        TSerialLine line;
        line.SetPort(c.port);
        try {
            line.Open();
            FAIL() << "opened " << c.port.toStdString();
        } catch (const ESerialLine& e) {
            EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_OpenFailed);
            EXPECT_EQ(e.Errno(), c.errnoValue);
            // errno is no Windows error code: the system's number, with the system's text.
            EXPECT_EQ(std::string(e.what()),
                      "Unable to open com port (system error 2: No such file or directory)");
        }
        EXPECT_FALSE(line.Connected());
        line.SetPort(pty.SlavePath());
        line.Open();
        EXPECT_TRUE(line.Connected());
    }
}

TEST_F(SerialLineTest, AnEventThreadThatCannotStartFailsTheOpenAndLetsGoOfTheDevice) {
    const int threadsBefore = ThreadCount();
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    bool afterOpen = false;
    line.OnAfterOpen = [&](QObject*) { afterOpen = true; };
    std::optional<ESerialLine> error;
    {
        OneDescriptorLeft limit;
        try {
            line.Open();
        } catch (const ESerialLine& e) {
            error = e;
        }
    }
    // Looked at once descriptors are free again: the sanitizers' type checks need one.
    ASSERT_TRUE(error) << "opened without its event thread";
    EXPECT_EQ(error->ErrorCode(), ESerialLine::CE_OpenFailed);
    EXPECT_EQ(error->Errno(), EMFILE);
    EXPECT_EQ(std::string(error->what()), "Unable to open com port (system error " +
                                              std::to_string(EMFILE) + ": Too many open files)");
    EXPECT_FALSE(line.Connected());
    EXPECT_FALSE(afterOpen);
    EXPECT_EQ(ThreadCount(), threadsBefore);
    TSerialLine other; // the device was closed again, its lock released
    other.SetPort(pty.SlavePath());
    other.Open();
    other.Close();
    line.Open();
    EXPECT_TRUE(line.Connected());
    EXPECT_TRUE(afterOpen);
    EXPECT_EQ(ThreadCount(), threadsBefore + 1);
}

// The event thread works with the settings the port was opened with: changing them while
// open does not reach it (it would race with the thread), the next open does.
TEST_F(SerialLineTest, QueueSettingsAndEventMaskTakeEffectAtTheNextOpen) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    int events = 0;
    line.OnRxChar = [&](QObject*, int) { ++events; };
    const QByteArray sent = Bytes({0, 1, 0, 2, 3, 4, 5, 6});
    auto Deliver = [&](int expectedWaiting) {
        char buf[64];
        line.Read(buf, sizeof buf);
        events = 0;
        pty.Write(sent);
        EXPECT_TRUE(WaitUntil([&] { return line.BytesWaiting() == expectedWaiting; }));
    };
    line.Open();
    TLineBuffer small;
    small.InputSize = 4;
    line.SetBuffer(small);
    line.SetDiscardNull(true);
    line.SetEvents(evTxEmpty);
    Deliver(8);
    EXPECT_TRUE(WaitUntil([&] { return events == 1; }));

    line.Close();
    line.Open();
    Deliver(4); // NULs dropped first, then what does not fit
    char buf[8];
    ASSERT_EQ(line.Read(buf, sizeof buf), 4);
    EXPECT_EQ(QByteArray(buf, 4), Bytes({1, 2, 3, 4}));
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(events, 0) << "no received-character event in the mask";
}

TEST_F(SerialLineTest, ReadsAreAccountedAgainstTheArrivalsTheyCameIn) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    line.Open();
    pty.Write(Bytes({1, 2, 3}));
    ASSERT_TRUE(WaitUntil([&] { return line.BytesWaiting() == 3; }));
    pty.Write(Bytes({4, 5}));
    ASSERT_TRUE(WaitUntil([&] { return line.BytesWaiting() == 5; }));
    auto Counts = [&] {
        std::vector<int> counts;
        for (const TInputArrival& a : line.InputArrivals())
            counts.push_back(a.Count);
        return counts;
    };
    EXPECT_EQ(Counts(), (std::vector<int>{3, 2}));
    const auto arrivals = line.InputArrivals();
    EXPECT_LE(arrivals[0].At, arrivals[1].At);
    char buf[8];
    ASSERT_EQ(line.Read(buf, 4), 4);
    EXPECT_EQ(Counts(), (std::vector<int>{1}));
    ASSERT_EQ(line.Read(buf, 4), 1);
    EXPECT_TRUE(Counts().empty());
    pty.Write(Bytes({6}));
    ASSERT_TRUE(WaitUntil([&] { return line.BytesWaiting() == 1; }));
    line.Close();
    line.Open();
    EXPECT_TRUE(Counts().empty()) << "a new open starts with an empty queue";
}

TEST(SerialCharacterTimeTest, StartDataParityAndStopBitsAtTheBaudRate) {
    using std::chrono::microseconds;
    const struct {
        TBaudRate rate;
        TDataBits data;
        TParityBits parity;
        TStopBits stop;
        microseconds expected;
    } cases[] = {
        {TBaudRate::br9600, TDataBits::dbEight, TParityBits::prOdd, TStopBits::sbTwoStopBits,
         microseconds(1250)}, // the decoder line: 12 bits
        {TBaudRate::br9600, TDataBits::dbEight, TParityBits::prNone, TStopBits::sbOneStopBit,
         microseconds(1041)},
        {TBaudRate::br1200, TDataBits::dbSeven, TParityBits::prEven, TStopBits::sbOne5StopBits,
         microseconds(8750)}, // 10.5 bits
        {TBaudRate::br115200, TDataBits::dbFive, TParityBits::prNone, TStopBits::sbOneStopBit,
         microseconds(60)},
    };
    for (const auto& c : cases) {
        TSerialLine line;
        line.SetBaudRate(c.rate);
        line.SetDataBits(c.data);
        TLineParity parity;
        parity.Bits = c.parity;
        line.SetParity(parity);
        line.SetStopBits(c.stop);
        EXPECT_EQ(std::chrono::duration_cast<microseconds>(line.CharacterTime()), c.expected)
            << static_cast<int>(c.rate);
    }
    TSerialLine custom;
    custom.SetBaudRate(TBaudRate::brCustom);
    custom.SetCustomBaudRate(0);
    EXPECT_EQ(custom.CharacterTime(), TLineClock::duration::zero());
}

TEST_F(SerialLineTest, ComNamesMapToSerialDevices) {
    EXPECT_EQ(SerialDevice::DevicePath("COM1"), QByteArray("/dev/ttyS0"));
    EXPECT_EQ(SerialDevice::DevicePath("COM4"), QByteArray("/dev/ttyS3"));
    EXPECT_EQ(SerialDevice::DevicePath("/dev/ttyUSB0"), QByteArray("/dev/ttyUSB0"));
    EXPECT_TRUE(SerialDevice::DevicePath("COM12").isEmpty());
    EXPECT_TRUE(SerialDevice::DevicePath("com1").isEmpty());
}

TEST_F(SerialLineTest, SecondOpenOfTheSameDeviceFailsAndTheFirstKeepsWorking) {
    TSerialLine first, second;
    first.SetPort(pty.SlavePath());
    second.SetPort(pty.SlavePath());
    first.Open();
    try {
        second.Open();
        FAIL() << "second open succeeded";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_OpenFailed);
        EXPECT_GT(e.Errno(), 0);
    }
    EXPECT_FALSE(second.Connected());
    EXPECT_EQ(first.Write("abcd", 4), 4);
    EXPECT_TRUE(WaitUntil([&] { return pty.ReadAvailable() == "abcd"; }));
    // Once the first lets go, the device is free again.
    first.Close();
    second.Open();
    EXPECT_TRUE(second.Connected());
}

TEST(SerialSettingsTest, TheDecoderLineIsRawNineSixHundredEightOddTwo) {
    SerialLineSettings s;
    s.parity = SerialLineSettings::Parity::Odd;
    s.twoStopBits = true;
    termios tio{};
    ASSERT_TRUE(BuildTermios(s, tio));
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag &
                  (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL | CLOCAL | CREAD),
              tcflag_t(CS8 | PARENB | PARODD | CSTOPB | CLOCAL | CREAD));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | INPCK));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));

    s.parity = SerialLineSettings::Parity::Space;
    s.dataBits = 7;
    s.xonOut = true;
    ASSERT_TRUE(BuildTermios(s, tio));
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR), tcflag_t(CS7 | PARENB | CMSPAR));
    EXPECT_TRUE(tio.c_iflag & IXON);
    s.baud = 14400;
    EXPECT_FALSE(BuildTermios(s, tio));
}

// A pseudo-terminal keeps speed, stop bits and the parity sense but drops the parity enable
// and the character size, so those two are checked on the settings built above.
TEST_F(SerialLineTest, LineSettingsReachTheDevice) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    TLineParity parity;
    parity.Bits = TParityBits::prOdd;
    line.SetParity(parity);
    line.SetStopBits(TStopBits::sbTwoStopBits);
    line.Open();
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.Slave(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(cfgetispeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(tio.c_cflag & PARODD);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_TRUE(tio.c_cflag & CREAD);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_cflag & HUPCL);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));

    // Changed while open: applied at once.
    line.SetBaudRate(TBaudRate::br19200);
    line.SetStopBits(TStopBits::sbOneStopBit);
    ASSERT_EQ(tcgetattr(pty.Slave(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B19200);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
}

TEST_F(SerialLineTest, ARateWithoutADeviceSpeedIsRefusedWithCodeSeven) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    line.SetBaudRate(TBaudRate::br14400);
    try {
        line.Open();
        FAIL();
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_SetStateFailed);
    }
    EXPECT_FALSE(line.Connected());
    line.SetBaudRate(TBaudRate::br9600);
    line.Open(); // the failed open let go of the device
}

TEST_F(SerialLineTest, EveryArrivalRaisesOneEventWithTheCountOfAllWaitingBytes) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    std::vector<int> counts;
    line.OnRxChar = [&](QObject* sender, int count) {
        EXPECT_EQ(sender, &line);
        counts.push_back(count);
    };
    line.Open();
    pty.Write(Bytes({1, 2, 3}));
    ASSERT_TRUE(WaitUntil([&] { return counts.size() == 1; }));
    EXPECT_EQ(counts[0], 3);
    pty.Write(Bytes({4}));
    ASSERT_TRUE(WaitUntil([&] { return counts.size() == 2; }));
    EXPECT_EQ(counts[1], 4);

    char buf[16];
    EXPECT_EQ(line.Read(buf, sizeof buf), 4); // returns at once with what waits
    EXPECT_EQ(QByteArray(buf, 4), Bytes({1, 2, 3, 4}));
    EXPECT_EQ(line.Read(buf, sizeof buf), 0);
    EXPECT_EQ(line.BytesWaiting(), 0);
}

TEST_F(SerialLineTest, InputBeyondTheQueueSizeIsDropped) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    TLineBuffer buffer;
    buffer.InputSize = 8;
    line.SetBuffer(buffer);
    line.Open();
    pty.Write(QByteArray(20, 'x'));
    EXPECT_TRUE(WaitUntil([&] { return line.BytesWaiting() == 8; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(line.BytesWaiting(), 8);
}

TEST_F(SerialLineTest, ChangingThePortWhileOpenMovesToTheNewDevice) {
    PtyPair other;
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    line.Open();
    line.SetPort(other.SlavePath());
    EXPECT_TRUE(line.Connected());
    line.Write("zz", 2);
    EXPECT_TRUE(WaitUntil([&] { return other.ReadAvailable() == "zz"; }));
    TSerialLine taker; // the old device is free
    taker.SetPort(pty.SlavePath());
    taker.Open();
}

TEST_F(SerialLineTest, OperationsOnAClosedPortRaiseTheirCodes) {
    TSerialLine line;
    char buf[4] = {};
    try {
        line.Write(buf, 4);
        FAIL();
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_WriteFailed);
        EXPECT_EQ(std::string(e.what()), "WriteFile function failed (system error " +
                                             std::to_string(EBADF) + ": Bad file descriptor)");
    }
    EXPECT_THROW(line.Read(buf, 4), ESerialLine);
    EXPECT_THROW(line.BytesWaiting(), ESerialLine);
    line.Close(); // nothing happens
    line.SetConnected(false);
}

TEST_F(SerialLineTest, CloseDoesNotWaitOnAHandOverInFlight) {
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    int events = 0;
    line.OnRxChar = [&](QObject*, int) { ++events; };
    line.Open();
    pty.Write(Bytes({9, 9}));
    // The event thread has queued its hand-over and waits for it; this thread does not serve it.
    for (int i = 0; i < 2000 && line.BytesWaiting() == 0; ++i)
        usleep(1000);
    ASSERT_EQ(line.BytesWaiting(), 2);
    line.Close();
    EXPECT_FALSE(line.Connected());
    QCoreApplication::processEvents();
    EXPECT_EQ(events, 0); // a hand-over that outlived its port runs nothing
}

TEST_F(SerialLineTest, AnUnpluggedDeviceEndsTheEventThreadAndFailsTheNextWrite) {
    const int before = ThreadCount();
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    line.Open();
    EXPECT_EQ(ThreadCount(), before + 1);
    pty.CloseMaster();
    pty.CloseSlave(); // nothing else keeps the terminal alive
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == before; }));
    try {
        line.Write("abcd", 4);
        FAIL();
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_WriteFailed);
        EXPECT_EQ(e.Errno(), EIO);
    }
    line.Close();
    EXPECT_FALSE(line.Connected());
}

} // namespace
