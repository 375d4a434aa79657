#pragma once
// The operating-system layer of the serial component: one serial device. Each call returns no
// fault or the system's error number captured where the failure happened, with its cause; the
// component turns that into its own error codes. One source per operating system implements it
// (SerialDevice_posix.cpp, SerialDevice_win.cpp); nothing of the system shows here.

#include "SerialFault.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

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
    SerialDevice();
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // The device a port name stands for; empty when the name names none. POSIX: "COM1".."COM9"
    // are /dev/ttyS0../dev/ttyS8, a name beginning with "/" is a device path. Windows: "COMn"
    // is \\.\COMn.
    static QByteArray DevicePath(const QString& port);

    // Opens the device exclusively for this program.
    TSerialFault Open(const QString& port);
    void Close();
    bool IsOpen() const;
    // What the event thread waits on (a descriptor, a handle); only the wait's own source of
    // the same system knows what it is.
    std::intptr_t NativeHandle() const;

    // The driver's queue sizes in bytes.
    TSerialFault SetQueues(int inputSize, int outputSize);
    TSerialFault Apply(const SerialLineSettings& settings);
    // Reads return at once with what waits; a write may take multiplier × bytes + constant ms.
    TSerialFault SetTimeouts(int writeMultiplierMs, int writeConstantMs);
    // Writes every byte, waiting for room in the driver until timeoutMs has passed.
    TSerialFault WriteAll(const uint8_t* bytes, int count, int timeoutMs, int& written);
    // Lets what was written leave first (a written frame counts as sent), then empties both
    // queues.
    TSerialFault Purge();

    // True when the device sits on a USB bus (an adapter), where the driver may hold received
    // bytes back for a while unless asked for low latency.
    bool Usb() const;
    // The driver agreed to hand received bytes over at once.
    bool LowLatency() const;

    // Tests only: consulted before each open; a non-zero result fails the open with that
    // system error number, as the system would (a permission the test runner, being root,
    // always has).
    static std::function<int(const QByteArray& path)>& OpenFault();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
