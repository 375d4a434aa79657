// The serial devices present, who else holds a device, and a line whose device goes away and
// comes back.

#include "DeviceTree.h"
#include "HolderProcess.h"
#include "PortDiagnosis.h"
#include "PortDiscovery.h"
#include "PtyPair.h"
#include "QtApp.h"
#include "USerialLine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kalvex::test;

namespace {

TEST(PortDiscovery, StableNamesFirstThenUsbThenBuiltInPortsWithAUart) {
    DeviceTree tree;
    tree.Usb("ttyUSB1", "FT232R USB UART");
    tree.Usb("ttyUSB0", "CP2102 USB to UART Bridge Controller");
    tree.Usb("ttyACM0", "");
    tree.BuiltIn("ttyS0", 4);
    tree.BuiltIn("ttyS1", 0); // a port the kernel lists but no UART answers
    tree.BuiltIn("ttyS10", 4);
    const QString stable = tree.ById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB1");

    const std::vector<PresentPort> ports = PresentPorts();
    const struct {
        QString path, kernel, label;
    } expected[] = {
        {stable, "ttyUSB1", "FT232R USB UART \u2014 ttyUSB1"},
        {tree.Dev("ttyACM0"), "ttyACM0", tree.Dev("ttyACM0")},
        {tree.Dev("ttyUSB0"), "ttyUSB0", "CP2102 USB to UART Bridge Controller \u2014 ttyUSB0"},
        {tree.Dev("ttyS0"), "ttyS0", tree.Dev("ttyS0")},
        {tree.Dev("ttyS10"), "ttyS10", tree.Dev("ttyS10")},
    };
    ASSERT_EQ(ports.size(), std::size(expected));
    for (size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].path, expected[i].path) << i;
        EXPECT_EQ(ports[i].kernelName, expected[i].kernel) << i;
        EXPECT_EQ(ports[i].label, expected[i].label) << i;
    }

    // The kernel name and the stable name lead to the same adapter.
    for (const QString& name : {stable, tree.Dev("ttyUSB1")}) {
        const PresentPort* found = FindPresentPort(ports, name);
        ASSERT_NE(found, nullptr) << name.toStdString();
        EXPECT_EQ(found->path, stable);
    }
    EXPECT_EQ(FindPresentPort(ports, tree.Dev("ttyUSB7")), nullptr);
    EXPECT_EQ(FindPresentPort(ports, "not a port"), nullptr);
}

TEST(PortDiscovery, AnEmptyMachineHasNoPorts) {
    DeviceTree tree;
    EXPECT_TRUE(PresentPorts().empty());
}

TEST(PortDiagnosis, OtherProcessesHoldingTheDeviceAreFoundByNameAndPid) {
    PtyPair pty;
    const QByteArray path = pty.SlavePath().toLocal8Bit();
    // This process has the device open itself: that is not "another program".
    EXPECT_TRUE(PortHolders(path).empty());
    for (bool lock : {true, false}) {
        HolderProcess holder(path, "kvx-holder", lock);
        const std::vector<PortHolder> holders = PortHolders(path);
        ASSERT_EQ(holders.size(), 1u) << lock;
        EXPECT_EQ(holders[0].pid, holder.Pid());
        EXPECT_EQ(holders[0].name, "kvx-holder");
    }
    EXPECT_TRUE(PortHolders("/dev/kalvex-no-such-device").empty());
}

TEST(PortDiagnosis, TheFarEndOfAPseudoTerminalIsNotAnotherProgram) {
    // The simulator holds the master side and, to keep the line up, the slave side too.
    PtyPair pty;
    const QByteArray path = pty.SlavePath().toLocal8Bit();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t far = ::fork();
    ASSERT_GE(far, 0);
    if (far == 0) { // keeps the inherited master
        ::prctl(PR_SET_NAME, "kvx-far-end");
        const char ok = ::open(path.constData(), O_RDWR | O_NOCTTY) >= 0 ? 1 : 0;
        [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
        for (;;)
            ::pause();
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(ok, 1);
    EXPECT_TRUE(PortHolders(path).empty());
    // A program that holds only the slave side is one.
    HolderProcess reader(path, "kvx-reader", false);
    ASSERT_EQ(PortHolders(path).size(), 1u);
    EXPECT_EQ(PortHolders(path)[0].name, "kvx-reader");
    ::kill(far, SIGKILL);
    ::waitpid(far, nullptr, 0);
}

TEST(PortDiagnosis, TheDeviceGroupIsTheOwnerOfTheDeviceFile) {
    PtyPair pty;
    const QByteArray path = pty.SlavePath().toLocal8Bit();
    const group* dialout = ::getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    const struct {
        gid_t gid;
        QString expected;
    } cases[] = {{dialout->gr_gid, "dialout"}, {47113, "47113"}}; // a group without a name
    for (const auto& c : cases) {
        ASSERT_EQ(::chown(path.constData(), static_cast<uid_t>(-1), c.gid), 0);
        EXPECT_EQ(DeviceGroup(path), c.expected);
    }
    EXPECT_EQ(DeviceGroup("/dev/kalvex-no-such-device"), "");
}

class LineGoneTest : public ::testing::Test, protected WithCoreApp {
protected:
    // The line's path is a link the test points at one pseudo-terminal, then at another.
    void PointAt(const PtyPair& pty) {
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(pty.SlavePath(), link));
    }
    QTemporaryDir dir;
    const QString link = dir.filePath("tty");
};

TEST_F(LineGoneTest, TheLossIsToldAtOnceAndTheDeviceIsOpenedAgainWhenItIsBack) {
    auto first = std::make_unique<PtyPair>();
    PointAt(*first);
    TSerialLine line;
    std::vector<TLineState> told;
    line.OnLineStateChange = [&](QObject*) { told.push_back(line.LineState()); };
    int received = 0;
    line.OnRxChar = [&](QObject*, int count) { received = count; };
    line.SetPort(link);
    line.SetParity({TParityBits::prOdd});
    line.SetStopBits(TStopBits::sbTwoStopBits);
    line.Open();
    EXPECT_EQ(line.LineState(), TLineState::Open);
    EXPECT_EQ(line.SettingsText(), "9600 8-O-2");

    first.reset(); // unplugged: no write is needed to notice
    ASSERT_TRUE(WaitUntil([&] { return line.LineState() == TLineState::Gone; }));
    EXPECT_EQ(told, std::vector<TLineState>{TLineState::Gone});
    EXPECT_TRUE(line.Connected());
    try {
        line.Write("abcd", 4);
        FAIL() << "a write into the gap succeeded";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_WriteFailed);
        EXPECT_EQ(e.Errno(), EIO);
        EXPECT_EQ(e.Cause(), TPortCause::DeviceGone);
    }

    PtyPair second;
    PointAt(second);
    ASSERT_TRUE(WaitUntil([&] { return line.LineState() == TLineState::Reopened; }, 5000));
    EXPECT_EQ((std::vector<TLineState>{TLineState::Gone, TLineState::Reopened}), told);
    // Same settings, and the line works both ways.
    EXPECT_EQ(line.SettingsText(), "9600 8-O-2");
    EXPECT_EQ(line.Write("abcd", 4), 4);
    EXPECT_TRUE(WaitUntil([&] { return second.ReadAvailable() == "abcd"; }));
    second.Write("xyz");
    EXPECT_TRUE(WaitUntil([&] { return received == 3; }));

    line.Close();
    EXPECT_EQ(line.LineState(), TLineState::Closed);
}

// A line whose user is waiting for a reply.
class BusyLine : public TSerialLine {
public:
    bool busy = true;

protected:
    bool CanReopen() const override { return !busy; }
};

TEST_F(LineGoneTest, ADeviceThatComesBackIsNotOpenedUnderAUserStillWaiting) {
    auto first = std::make_unique<PtyPair>();
    PointAt(*first);
    BusyLine line;
    line.SetPort(link);
    line.Open();
    first.reset();
    ASSERT_TRUE(WaitUntil([&] { return line.LineState() == TLineState::Gone; }));
    PtyPair second;
    PointAt(second);
    // Longer than the one-second poll, and still gone.
    WaitUntil([] { return false; }, 2500);
    EXPECT_EQ(line.LineState(), TLineState::Gone);
    line.busy = false;
    EXPECT_TRUE(WaitUntil([&] { return line.LineState() == TLineState::Reopened; }, 5000));
}

TEST_F(LineGoneTest, ClosingWhileGoneEndsTheWaitForTheDevice) {
    auto first = std::make_unique<PtyPair>();
    PointAt(*first);
    TSerialLine line;
    line.SetPort(link);
    line.Open();
    first.reset();
    ASSERT_TRUE(WaitUntil([&] { return line.LineState() == TLineState::Gone; }));
    EXPECT_NO_THROW(line.Close());
    EXPECT_FALSE(line.Connected());
    PtyPair second;
    PointAt(second);
    WaitUntil([] { return false; }, 1500);
    EXPECT_EQ(line.LineState(), TLineState::Closed);
    EXPECT_FALSE(line.Connected());
}

// The cause travels with the error from the call that failed, so that the message above the
// link can word it without knowing the system's numbers.
TEST(SerialDeviceFault, EachFailedOpenCarriesTheCauseOfItsSystemError) {
    EnsureCoreApp();
    PtyPair pty;
    const struct {
        int injected; // 0: none, the open itself fails
        QString port;
        int number;
        TPortCause cause;
    } cases[] = {
        {0, "/dev/kalvex-no-such-device", ENOENT, TPortCause::NotPresent},
        {0, "COMX", ENOENT, TPortCause::NotPresent},
        {ENXIO, pty.SlavePath(), ENXIO, TPortCause::NotPresent}, // a ttyS without a UART
        {ENODEV, pty.SlavePath(), ENODEV, TPortCause::NotPresent},
        {EACCES, pty.SlavePath(), EACCES, TPortCause::NoPermission},
        {EPERM, pty.SlavePath(), EPERM, TPortCause::NoPermission},
        {EBUSY, pty.SlavePath(), EBUSY, TPortCause::HeldElsewhere},
        {EWOULDBLOCK, pty.SlavePath(), EWOULDBLOCK, TPortCause::HeldElsewhere},
        {EIO, pty.SlavePath(), EIO, TPortCause::Other},
    };
    for (const auto& c : cases) {
        SerialDevice::OpenFault() = [&c](const QByteArray&) { return c.injected; };
        TSerialLine line;
        line.SetPort(c.port);
        try {
            line.Open();
            ADD_FAILURE() << "opened " << c.port.toStdString();
        } catch (const ESerialLine& e) {
            EXPECT_EQ(e.Errno(), c.number) << c.number;
            EXPECT_EQ(e.Cause(), c.cause) << c.number;
        }
    }
    SerialDevice::OpenFault() = nullptr;

    // Really held: a second line on the same device meets the first one's lock.
    TSerialLine first, second;
    first.SetPort(pty.SlavePath());
    second.SetPort(pty.SlavePath());
    first.Open();
    try {
        second.Open();
        ADD_FAILURE() << "opened twice";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.Cause(), TPortCause::HeldElsewhere);
    }
    // A closed port is not a device gone away.
    first.Close();
    try {
        first.Write("abcd", 4);
        ADD_FAILURE() << "wrote on a closed port";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.Cause(), TPortCause::Other);
    }
}

TEST(SerialDeviceFault, AnInjectedErrnoFailsTheOpenAsTheSystemWould) {
    EnsureCoreApp();
    PtyPair pty;
    SerialDevice::OpenFault() = [](const QByteArray&) { return EACCES; };
    TSerialLine line;
    line.SetPort(pty.SlavePath());
    try {
        line.Open();
        ADD_FAILURE() << "opened";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_OpenFailed);
        EXPECT_EQ(e.Errno(), EACCES);
    }
    SerialDevice::OpenFault() = nullptr;
    EXPECT_FALSE(line.Connected());
    line.Open();
    EXPECT_TRUE(line.Connected());
    // A pseudo-terminal is no USB adapter: no low latency asked for.
    EXPECT_FALSE(line.Usb());
    EXPECT_FALSE(line.LowLatency());
}

} // namespace
