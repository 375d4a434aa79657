#pragma once
// The operating-system layer of the serial component: one POSIX terminal device.
// Every call returns 0 or the errno captured where the failure happened; the component turns
// that into its own error codes.

#include <QString>

#include <cstdint>
#include <functional>
#include <termios.h>

struct SerialLineSettings {
    int baud = 9600;
    int dataBits = 8;
    bool twoStopBits = false;
    enum class Parity { None, Odd, Even, Mark, Space } parity = Parity::None;
    bool parityCheck = false;
    bool ctsFlow = false; // hardware handshake on output
    bool xonOut = false;
    bool xonIn = false;
    char xonChar = 17;
    char xoffChar = 19;
    bool dtr = false; // level the line is held at
    bool rts = false;
};

class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // "COM1".."COM9" are /dev/ttyS0../dev/ttyS8; a name beginning with "/" is a device path.
    // Any other name has no device (empty result).
    static QByteArray DevicePath(const QString& port);

    // Opens the device exclusively, non-blocking, without becoming its controlling terminal.
    int Open(const QString& port);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    int Apply(const SerialLineSettings& settings);
    // Raw mode with the given line settings; false for a rate or size the system lacks.
    static bool BuildTermios(const SerialLineSettings& settings, termios& tio);
    // Writes every byte, waiting for room in the driver until timeoutMs has passed.
    int WriteAll(const uint8_t* bytes, int count, int timeoutMs, int& written);
    // Lets what was written leave first (a written frame counts as sent), then empties both
    // queues.
    int Purge();

    // True when the device sits on a USB bus (an adapter), where the driver may hold received
    // bytes back for a while unless asked for low latency.
    bool Usb() const { return usb_; }
    // The driver agreed to hand received bytes over at once.
    bool LowLatency() const { return lowLatency_; }

    // Tests only: consulted before each open; a non-zero result fails the open with that
    // errno, as the system would (a permission the test runner, being root, always has).
    static std::function<int(const QByteArray& path)>& OpenFault();

private:
    int SetModemLines(bool dtr, bool rts);

    int fd_ = -1;
    bool pseudoTerminal_ = false;
    bool usb_ = false;
    bool lowLatency_ = false;
};
