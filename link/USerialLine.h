#pragma once
// Serial communications port component.
//
// Threading contract:
//  - The user-interface thread owns the component and performs every Open, Close, Write, Read
//    and BytesWaiting, and every property change.
//  - While the port is open, one event thread (TSerialLineThread) waits on the device and on a
//    stop event (TLineWait: poll() on POSIX, WaitCommEvent on Windows). When bytes arrive it moves
//    them from the device into the component's input queue (at most Buffer.InputSize bytes; the
//    excess is dropped), then hands the received-character event to the user-interface thread and
//    blocks until the handlers there have run (or until Close stops it). Handlers (OnRxChar) always
//    run on the user-interface thread, inside its event loop.
//  - The thread reaches nothing of the component but the input queue (TLineInputQueue) and the
//    hand-over. What it needs of the settings (the event mask, Buffer.InputSize, DiscardNull)
//    is copied when the port opens; changing them while open takes effect at the next Open.
//  - Close stops the event thread and waits for it; the thread's wait for the hand-over also
//    ends on the stop event, so Close never waits on a hand-over that the user-interface thread
//    would have to serve.
//  - Of the component's data, the input queue is the only part the two threads share; it has
//    its own lock. The hand-over's state lives in the thread object, under a lock of its own.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "SerialDevice.h"
#include "SerialFault.h"
#include "TLineInputQueue.h"

class TSerialLineThread;

// Error of every failing port operation: a code of the table below, the operating system's
// error number (errno on POSIX, GetLastError() on Windows; -1 when there is none) and its
// cause, as the operating-system layer decided it where the call failed.
class ESerialLine : public std::runtime_error {
public:
    enum Code {
        CE_OpenFailed = 1,
        CE_WriteFailed = 2,
        CE_ReadFailed = 3,
        CE_PurgeFailed = 5,
        CE_SetStateFailed = 7,
        CE_SetTimeoutsFailed = 8,
        CE_SetupCommFailed = 9,
        CE_ClearCommFailed = 10,
        CE_ModemStatFailed = 11,
    };
    explicit ESerialLine(Code code, TSerialFault fault = {});
    Code ErrorCode() const { return code_; }
    // The system's error number of the failing call, -1 when there is none.
    int Errno() const { return fault_ ? fault_.number : -1; }
    TPortCause Cause() const { return fault_.cause; }
    static QString Text(Code code);

private:
    Code code_;
    TSerialFault fault_;
};

enum class TBaudRate {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
};
enum class TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum class TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum class TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum class TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum class TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };

struct TLineParity {
    TParityBits Bits = TParityBits::prNone;
    bool Check = false;
    bool Replace = false;
    char ReplaceChar = 0;
};

struct TLineFlowControl {
    TDTRFlowControl ControlDTR = TDTRFlowControl::dtrDisable;
    TRTSFlowControl ControlRTS = TRTSFlowControl::rtsDisable;
    bool OutCTSFlow = false;
    bool OutDSRFlow = false;
    bool XonXoffIn = false;
    bool XonXoffOut = false;
    bool DSRSensitivity = false;
    bool TxContinueOnXoff = false;
    char XonChar = 17;
    char XoffChar = 19;
};

// Milliseconds. ReadInterval -1 means "the largest value": reads return at once with what waits.
struct TLineTimeouts {
    int ReadInterval = -1;
    int ReadTotalMultiplier = 0;
    int ReadTotalConstant = 0;
    int WriteTotalMultiplier = 100;
    int WriteTotalConstant = 1000;
};

struct TLineBuffer {
    int InputSize = 1024;
    int OutputSize = 1024;
};

enum TLineEvent : unsigned {
    evRxChar = 1u << 0,
    evTxEmpty = 1u << 1,
    evRxFlag = 1u << 2,
    evRing = 1u << 3,
    evBreak = 1u << 4,
    evCTS = 1u << 5,
    evDSR = 1u << 6,
    evError = 1u << 7,
    evRLSD = 1u << 8,
    evRx80Full = 1u << 9,
};
using TLineEvents = unsigned;
constexpr TLineEvents AllLineEvents = (1u << 10) - 1;

// Where the line stands. Gone: the device went away while open (unplugged, hung up); the port
// still counts as connected, every write fails, and the path is tried again about once a
// second. Reopened: it came back at the same path and was opened again with the same settings.
enum class TLineState { Closed, Open, Gone, Reopened };

using TRxCharEvent = std::function<void(QObject* Sender, int Count)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;

class TCustomSerialLine : public QObject {
    Q_OBJECT
public:
    explicit TCustomSerialLine(QObject* owner = nullptr);
    ~TCustomSerialLine() override;

    const QString& Port() const { return port_; }
    void SetPort(const QString& port);

    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    int CustomBaudRate() const { return customBaudRate_; }
    void SetCustomBaudRate(int rate);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits bits);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits bits);
    const TLineParity& Parity() const { return parity_; }
    void SetParity(const TLineParity& parity);
    const TLineFlowControl& FlowControl() const { return flowControl_; }
    void SetFlowControl(const TLineFlowControl& flow);
    const TLineTimeouts& Timeouts() const { return timeouts_; }
    void SetTimeouts(const TLineTimeouts& timeouts);
    const TLineBuffer& Buffer() const { return buffer_; }
    void SetBuffer(const TLineBuffer& buffer);
    TLineEvents Events() const { return events_; }
    void SetEvents(TLineEvents events) { events_ = events; }
    bool DiscardNull() const { return discardNull_; }
    void SetDiscardNull(bool discard) { discardNull_ = discard; }

    bool Connected() const { return connected_; }
    void SetConnected(bool connected);

    void Open();
    void Close();

    // Blocks until all bytes are written or the write time-out has passed (code 2).
    int Write(const void* buffer, int count);
    // Returns at once with up to count of the bytes waiting.
    int Read(void* buffer, int count);
    int BytesWaiting();
    // How the bytes waiting arrived, oldest first, for users that take the input in frames
    // and have to tell the pieces of one frame from debris left on the line.
    std::vector<TInputArrival> InputArrivals();
    // The time one character takes on the line with the current settings (start bit, data
    // bits, parity bit and stop bits at the baud rate).
    TLineClock::duration CharacterTime() const;

    TLineState LineState() const { return state_; }
    // The device went away, or came back: LineState() tells which. Runs on the user-interface
    // thread as soon as it is known.
    TNotifyEvent OnLineStateChange;
    // The device behind the port name, as opened ("/dev/ttyS0" for COM1).
    QString DevicePath() const;
    // An adapter on a USB bus, and whether its driver agreed to low latency.
    bool Usb() const { return device_.Usb(); }
    bool LowLatency() const { return device_.LowLatency(); }
    // The line settings in short, "9600 8-O-2".
    QString SettingsText() const;

    TRxCharEvent OnRxChar;
    TNotifyEvent OnBeforeOpen, OnAfterOpen, OnBeforeClose, OnAfterClose;

protected:
    // Whether a device that came back may be opened now; a user waiting for a reply says no,
    // so nothing changes under it.
    virtual bool CanReopen() const { return true; }

private:
    // Queues, line settings and time-outs of a device just opened (codes 9, 7, 8).
    void SetUpDevice();
    void StartThread();
    // User-interface thread, once the event thread has found the device gone.
    void DeviceGone();
    // Timer while gone: opens the device again when it is back.
    void TryReopen();
    void SetState(TLineState state);
    void ApplyLineSettings();
    void ApplyIfOpen();
    // Runs on the user-interface thread for each hand-over of the event thread.
    void RxCharHandedOver();

    QString port_ = QStringLiteral("COM1");
    TBaudRate baudRate_ = TBaudRate::br9600;
    int customBaudRate_ = 9600;
    TDataBits dataBits_ = TDataBits::dbEight;
    TStopBits stopBits_ = TStopBits::sbOneStopBit;
    TLineParity parity_;
    TLineFlowControl flowControl_;
    TLineTimeouts timeouts_;
    TLineBuffer buffer_;
    TLineEvents events_ = AllLineEvents;
    bool discardNull_ = false;

    bool connected_ = false;
    SerialDevice device_;
    TLineInputQueue input_; // the one thing shared with the event thread
    std::unique_ptr<TSerialLineThread> thread_;
    TLineState state_ = TLineState::Closed;
    QTimer reopenTimer_;
};

class TSerialLine : public TCustomSerialLine {
    Q_OBJECT
public:
    using TCustomSerialLine::TCustomSerialLine;
};
