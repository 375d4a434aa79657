#include "PtyPair.h"
#include "QtApp.h"
#include "USerialLine.h"

#include <gtest/gtest.h>

#include "SerialDevice.h"
#include <QDir>

#include <cerrno>
#include <termios.h>
#include <thread>
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
            EXPECT_EQ(e.WinCode(), c.errnoValue);
            EXPECT_EQ(std::string(e.what()), "Unable to open com port (win error code: " +
                                                 std::to_string(c.errnoValue) + ")");
        }
        EXPECT_FALSE(line.Connected());
        line.SetPort(pty.SlavePath());
        line.Open();
        EXPECT_TRUE(line.Connected());
    }
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
        EXPECT_GT(e.WinCode(), 0);
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
    ASSERT_TRUE(SerialDevice::BuildTermios(s, tio));
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag &
                  (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL | CLOCAL | CREAD),
              tcflag_t(CS8 | PARENB | PARODD | CSTOPB | CLOCAL | CREAD));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | INPCK));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));

    s.parity = SerialLineSettings::Parity::Space;
    s.dataBits = 7;
    s.xonOut = true;
    ASSERT_TRUE(SerialDevice::BuildTermios(s, tio));
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR), tcflag_t(CS7 | PARENB | CMSPAR));
    EXPECT_TRUE(tio.c_iflag & IXON);
    s.baud = 14400;
    EXPECT_FALSE(SerialDevice::BuildTermios(s, tio));
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
        EXPECT_EQ(std::string(e.what()),
                  "WriteFile function failed (win error code: " + std::to_string(EBADF) + ")");
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
        EXPECT_EQ(e.WinCode(), EIO);
    }
    line.Close();
    EXPECT_FALSE(line.Connected());
}

} // namespace
