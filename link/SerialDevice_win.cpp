// The serial device on Windows: a COM port through the Win32 serial API, opened for
// overlapped I/O so that the event thread can wait on it while this thread writes.

#include "SerialDevice.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

namespace {

// GetLastError() of a call that failed; never 0, which would read as no failure.
DWORD LastError() {
    const DWORD err = GetLastError();
    return err != ERROR_SUCCESS ? err : ERROR_GEN_FAILURE;
}

TSerialFault Fault(DWORD err, TPortCause cause) {
    return {static_cast<int>(err), cause};
}

// A failed CreateFile: a COM port that another program has open answers "access denied".
TSerialFault OpenFailure(DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Fault(err, TPortCause::NotPresent);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return Fault(err, TPortCause::HeldElsewhere);
    default:
        return Fault(err, TPortCause::Other);
    }
}

// A failure of an open port: what the USB serial drivers give once the adapter is pulled out.
TSerialFault LineFailure(DWORD err) {
    switch (err) {
    case ERROR_BAD_COMMAND:
    case ERROR_ACCESS_DENIED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_FILE_NOT_FOUND:
        return Fault(err, TPortCause::DeviceGone);
    default:
        return Fault(err, TPortCause::Other);
    }
}

BYTE ParityOf(SerialLineSettings::Parity parity) {
    switch (parity) {
    case SerialLineSettings::Parity::None:
        return NOPARITY;
    case SerialLineSettings::Parity::Odd:
        return ODDPARITY;
    case SerialLineSettings::Parity::Even:
        return EVENPARITY;
    case SerialLineSettings::Parity::Mark:
        return MARKPARITY;
    case SerialLineSettings::Parity::Space:
        return SPACEPARITY;
    }
    return NOPARITY;
}

// Owns the event of one overlapped operation.
class Overlapped {
public:
    Overlapped() { ov_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() {
        if (ov_.hEvent)
            CloseHandle(ov_.hEvent);
    }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
    OVERLAPPED* get() { return &ov_; }
    bool valid() const { return ov_.hEvent != nullptr; }

private:
    OVERLAPPED ov_{};
};

} // namespace

TSerialFault Fault_Of(TLineFailure failure) {
    switch (failure) {
    case TLineFailure::NotOpen:
        return Fault(ERROR_INVALID_HANDLE, TPortCause::Other);
    case TLineFailure::Gone:
        return Fault(ERROR_DEVICE_NOT_CONNECTED, TPortCause::DeviceGone);
    case TLineFailure::BadSetting:
        return Fault(ERROR_INVALID_PARAMETER, TPortCause::Other);
    case TLineFailure::NoSuchPort:
        return Fault(ERROR_FILE_NOT_FOUND, TPortCause::NotPresent);
    }
    return Fault(ERROR_INVALID_PARAMETER, TPortCause::Other);
}

struct SerialDevice::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

SerialDevice::SerialDevice() : impl_(std::make_unique<Impl>()) {}

SerialDevice::~SerialDevice() {
    Close();
}

QByteArray SerialDevice::DevicePath(const QString& port) {
    if (port.startsWith(QLatin1String("\\\\.\\")))
        return port.toUtf8();
    // COM1..COM255, in any case. Above COM9 only the \\.\ form opens, so every port gets it.
    if (port.size() < 4 || port.size() > 6 ||
        !port.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return {};
    bool number = false;
    const int n = port.mid(3).toInt(&number);
    if (!number || n < 1 || n > 255 || port[3] == QLatin1Char('0') || !port[3].isDigit())
        return {};
    return QByteArray("\\\\.\\COM") + QByteArray::number(n);
}

bool SerialDevice::IsOpen() const {
    return impl_->handle != INVALID_HANDLE_VALUE;
}

std::intptr_t SerialDevice::NativeHandle() const {
    return reinterpret_cast<std::intptr_t>(impl_->handle);
}

// Windows drivers take their latency from the port's own settings (the adapter's Latency
// Timer in the Device Manager); nothing is asked for here.
bool SerialDevice::Usb() const {
    return false;
}

bool SerialDevice::LowLatency() const {
    return false;
}

TSerialFault SerialDevice::Open(const QString& port) {
    if (IsOpen())
        return Fault(ERROR_BUSY, TPortCause::Other);
    const QByteArray path = DevicePath(port);
    if (path.isEmpty())
        return Fault_Of(TLineFailure::NoSuchPort);
    if (OpenFault()) {
        if (int err = OpenFault()(path))
            return OpenFailure(static_cast<DWORD>(err));
    }
    const std::wstring name = QString::fromUtf8(path).toStdWString();
    // No sharing: a COM port is one program's at a time.
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return OpenFailure(LastError());
    impl_->handle = h;
    // Bytes that reached the port while nobody had it open belong to nobody.
    PurgeComm(h, PURGE_RXCLEAR);
    DWORD errors = 0;
    ClearCommError(h, &errors, nullptr);
    return {};
}

void SerialDevice::Close() {
    if (!IsOpen())
        return;
    CloseHandle(impl_->handle);
    impl_->handle = INVALID_HANDLE_VALUE;
}

TSerialFault SerialDevice::SetQueues(int inputSize, int outputSize) {
    if (!IsOpen())
        return Fault_Of(TLineFailure::NotOpen);
    if (!SetupComm(impl_->handle, static_cast<DWORD>(inputSize), static_cast<DWORD>(outputSize)))
        return LineFailure(LastError());
    return {};
}

TSerialFault SerialDevice::Apply(const SerialLineSettings& s) {
    if (!IsOpen())
        return Fault_Of(TLineFailure::NotOpen);
    if (s.baud <= 0 || s.dataBits < 5 || s.dataBits > 8)
        return Fault_Of(TLineFailure::BadSetting);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(impl_->handle, &dcb))
        return LineFailure(LastError());
    dcb.BaudRate = static_cast<DWORD>(s.baud);
    dcb.ByteSize = static_cast<BYTE>(s.dataBits);
    dcb.Parity = ParityOf(s.parity);
    dcb.StopBits = s.twoStopBits ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = s.parityCheck ? TRUE : FALSE;
    dcb.fOutxCtsFlow = s.ctsFlow ? TRUE : FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    // The decoders' line holds DTR and RTS low: the driver sets them as the record says.
    dcb.fDtrControl = s.dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl =
        s.ctsFlow ? RTS_CONTROL_HANDSHAKE : (s.rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE);
    dcb.fOutX = s.xonOut ? TRUE : FALSE;
    dcb.fInX = s.xonIn ? TRUE : FALSE;
    dcb.XonChar = s.xonChar;
    dcb.XoffChar = s.xoffChar;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(impl_->handle, &dcb))
        return LineFailure(LastError());
    return {};
}

TSerialFault SerialDevice::SetTimeouts(int writeMultiplierMs, int writeConstantMs) {
    if (!IsOpen())
        return Fault_Of(TLineFailure::NotOpen);
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD; // with both totals 0: return at once with what waits
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = 0;
    t.WriteTotalTimeoutMultiplier = static_cast<DWORD>(writeMultiplierMs);
    t.WriteTotalTimeoutConstant = static_cast<DWORD>(writeConstantMs);
    if (!SetCommTimeouts(impl_->handle, &t))
        return LineFailure(LastError());
    return {};
}

TSerialFault SerialDevice::WriteAll(const uint8_t* bytes, int count, int timeoutMs, int& written) {
    written = 0;
    if (!IsOpen())
        return Fault_Of(TLineFailure::NotOpen);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (written < count) {
        Overlapped ov;
        if (!ov.valid())
            return Fault(LastError(), TPortCause::Other);
        DWORD done = 0;
        if (!WriteFile(impl_->handle, bytes + written, static_cast<DWORD>(count - written), &done,
                       ov.get())) {
            const DWORD err = GetLastError();
            if (err != ERROR_IO_PENDING)
                return LineFailure(err);
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            const DWORD wait = WaitForSingleObject(
                ov.get()->hEvent,
                static_cast<DWORD>(std::max<long long>(0, static_cast<long long>(left.count()))));
            if (wait != WAIT_OBJECT_0)
                CancelIoEx(impl_->handle, ov.get());
            // Waits for the cancelled write too: its buffer and event must outlive it.
            if (!GetOverlappedResult(impl_->handle, ov.get(), &done, TRUE)) {
                const DWORD failed = GetLastError();
                written += static_cast<int>(done);
                return failed == ERROR_OPERATION_ABORTED ? Fault(ERROR_TIMEOUT, TPortCause::Other)
                                                         : LineFailure(failed);
            }
        }
        written += static_cast<int>(done);
        if (written < count && Clock::now() >= deadline)
            return Fault(ERROR_TIMEOUT, TPortCause::Other);
    }
    return {};
}

TSerialFault SerialDevice::Purge() {
    if (!IsOpen())
        return Fault_Of(TLineFailure::NotOpen);
    // A write completes once the bytes are in the driver, not on the line: clearing the output
    // queue would drop the closing frames written just before a close. So the output is let
    // go, bounded for an adapter that stopped sending, and only what is left then is dropped.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    DWORD errors = 0;
    COMSTAT status{};
    bool pending = false;
    for (;;) {
        if (!ClearCommError(impl_->handle, &errors, &status))
            return LineFailure(LastError());
        pending = status.cbOutQue > 0;
        if (!pending || std::chrono::steady_clock::now() >= limit)
            break;
        Sleep(1);
    }
    if (!PurgeComm(impl_->handle, PURGE_RXCLEAR | (pending ? PURGE_TXCLEAR | PURGE_TXABORT : 0)))
        return LineFailure(LastError());
    return {};
}
