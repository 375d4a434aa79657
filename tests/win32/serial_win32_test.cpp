// The Win32 layer of the line under Wine: what a port name opens, why an open failed, the
// system's words for it, and the COM ports the registry lists.

#include "PortDiagnosis.h"
#include "PortDiscovery.h"
#include "QtApp.h"
#include "SerialDevice.h"
#include "USerialLine.h"

#include <gtest/gtest.h>

#include <windows.h>
// <windows.h> names SetPort a macro of its own (SetPortW), which would rename the line's.
#undef SetPort

using namespace kalvex::test;

namespace {

TEST(Win32Port, ComNamesInAnyCaseOpenTheirDevice) {
    const struct {
        QString port;
        QByteArray device;
    } cases[] = {
        {"COM1", "\\\\.\\COM1"},
        {"com5", "\\\\.\\COM5"},
        {"COM12", "\\\\.\\COM12"},
        {"COM255", "\\\\.\\COM255"},
        {"\\\\.\\COM7", "\\\\.\\COM7"}, // already a device name
        {"COM256", ""},
        {"COM0", ""},
        {"COM05", ""},
        {"COMX", ""},
        {"COM1x", ""},
        {"/dev/ttyS0", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SerialDevice::DevicePath(c.port), c.device) << c.port.toStdString();
}

TEST(Win32Port, EachFailedOpenCarriesTheCauseOfItsSystemError) {
    EnsureCoreApp();
    const struct {
        int injected; // 0: none, the open itself fails
        QString port;
        int number;
        TPortCause cause;
    } cases[] = {
        {0, "COM200", ERROR_FILE_NOT_FOUND, TPortCause::NotPresent}, // no such port here
        {0, "LPT1", ERROR_FILE_NOT_FOUND, TPortCause::NotPresent},   // no COM name at all
        {ERROR_PATH_NOT_FOUND, "COM3", ERROR_PATH_NOT_FOUND, TPortCause::NotPresent},
        {ERROR_ACCESS_DENIED, "COM3", ERROR_ACCESS_DENIED, TPortCause::HeldElsewhere},
        {ERROR_SHARING_VIOLATION, "COM3", ERROR_SHARING_VIOLATION, TPortCause::HeldElsewhere},
        {ERROR_GEN_FAILURE, "COM3", ERROR_GEN_FAILURE, TPortCause::Other},
    };
    for (const auto& c : cases) {
        SerialDevice::OpenFault() = [&c](const QByteArray&) { return c.injected; };
        TSerialLine line;
        line.SetPort(c.port);
        try {
            line.Open();
            ADD_FAILURE() << "opened " << c.port.toStdString();
        } catch (const ESerialLine& e) {
            EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_OpenFailed);
            EXPECT_EQ(e.Errno(), c.number) << c.port.toStdString();
            EXPECT_EQ(e.Cause(), c.cause) << c.number;
            EXPECT_EQ(std::string(e.what()),
                      "Unable to open com port (win error code: " + std::to_string(c.number) + ")");
        }
        EXPECT_FALSE(line.Connected());
    }
    SerialDevice::OpenFault() = nullptr;

    // A closed port is not a device gone away, and its number is the system's own.
    TSerialLine line;
    try {
        line.Write("abcd", 4);
        ADD_FAILURE() << "wrote on a closed port";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.Errno(), ERROR_INVALID_HANDLE);
        EXPECT_EQ(e.Cause(), TPortCause::Other);
    }
}

TEST(Win32Port, TheSystemWordsItsOwnErrors) {
    const QString text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
    EXPECT_NE(text, SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(PortHolders("\\\\.\\COM1").empty()); // Windows does not say who holds a port
}

// The serial drivers list their ports in the registry; the test adds two of its own.
class RegisteredPorts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0,
                                  nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                                  nullptr),
                  ERROR_SUCCESS);
        for (const auto& [name, port] : added_)
            ASSERT_EQ(RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                                     static_cast<DWORD>((wcslen(port) + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
    }
    void TearDown() override {
        for (const auto& [name, port] : added_)
            RegDeleteValueW(key_, name);
        RegCloseKey(key_);
    }

    HKEY key_ = nullptr;
    const std::pair<const wchar_t*, const wchar_t*> added_[2] = {
        {L"\\Device\\KalvexTest0", L"COM210"}, {L"\\Device\\KalvexTest1", L"COM29"}};
};

TEST_F(RegisteredPorts, AreListedInNumberOrderUnderTheirNames) {
    const std::vector<PresentPort> ports = PresentPorts();
    std::vector<int> numbers;
    for (const PresentPort& p : ports) {
        numbers.push_back(p.path.mid(3).toInt());
        EXPECT_TRUE(p.path.startsWith(QLatin1String("COM"))) << p.path.toStdString();
        EXPECT_TRUE(p.label.contains(p.path)) << p.label.toStdString();
    }
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    const PresentPort* added = FindPresentPort(ports, QStringLiteral("com29"));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->path, "COM29");
    EXPECT_EQ(added->label, "COM29"); // no driver gives it a friendly name
    EXPECT_NE(FindPresentPort(ports, QStringLiteral("COM210")), nullptr);
    EXPECT_EQ(FindPresentPort(ports, QStringLiteral("COM211")), nullptr);
    EXPECT_EQ(PortLabel(QStringLiteral("COM29")), "COM29");
    EXPECT_EQ(PortLabel(QStringLiteral("COM211")), "COM211");
}

} // namespace
