#include "USerialLine.h"

#include "PortDiagnosis.h"
#include "TSerialLineThread.h"

#include <algorithm>

namespace {

std::string MessageFor(ESerialLine::Code code, const TSerialFault& fault) {
    QString text = ESerialLine::Text(code);
    if (!fault)
        return text.toStdString();
#ifdef Q_OS_WIN
    text += QStringLiteral(" (win error code: %1)").arg(fault.number);
#else
    // errno is no Windows error code: named as the system's, with the system's own text.
    text += QStringLiteral(" (system error %1: %2)")
                .arg(QString::number(fault.number), SystemErrorText(fault.number));
#endif
    return text.toStdString();
}

int RateOf(TBaudRate rate, int custom) {
    static const int rates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return rate == TBaudRate::brCustom ? custom : rates[static_cast<int>(rate)];
}

SerialLineSettings::Parity ParityOf(TParityBits bits) {
    using P = SerialLineSettings::Parity;
    static const P table[] = {P::None, P::Odd, P::Even, P::Mark, P::Space};
    return table[static_cast<int>(bits)];
}

} // namespace

ESerialLine::ESerialLine(Code code, TSerialFault fault)
    : std::runtime_error(MessageFor(code, fault)), code_(code), fault_(fault) {}

QString ESerialLine::Text(Code code) {
    switch (code) {
    case CE_OpenFailed:
        return QStringLiteral("Unable to open com port");
    case CE_WriteFailed:
        return QStringLiteral("WriteFile function failed");
    case CE_ReadFailed:
        return QStringLiteral("ReadFile function failed");
    case CE_PurgeFailed:
        return QStringLiteral("PurgeComm function failed");
    case CE_SetStateFailed:
        return QStringLiteral("SetCommState function failed");
    case CE_SetTimeoutsFailed:
        return QStringLiteral("SetCommTimeouts failed");
    case CE_SetupCommFailed:
        return QStringLiteral("SetupComm function failed");
    case CE_ClearCommFailed:
        return QStringLiteral("ClearCommError function failed");
    case CE_ModemStatFailed:
        return QStringLiteral("GetCommModemStatus function failed");
    }
    return {};
}

// How often the path of a device that went away is tried again.
constexpr int ReopenIntervalMs = 1000;

TCustomSerialLine::TCustomSerialLine(QObject* owner) : QObject(owner) {
    reopenTimer_.setInterval(ReopenIntervalMs);
    connect(&reopenTimer_, &QTimer::timeout, this, &TCustomSerialLine::TryReopen);
}

TCustomSerialLine::~TCustomSerialLine() {
    try {
        Close();
    } catch (const ESerialLine&) {
        // The device is closed by then; a destructor has nobody to report to.
    }
}

void TCustomSerialLine::SetPort(const QString& port) {
    if (port == port_)
        return;
    port_ = port;
    if (connected_) {
        Close();
        Open();
    }
}

void TCustomSerialLine::SetBaudRate(TBaudRate rate) {
    baudRate_ = rate;
    ApplyIfOpen();
}

void TCustomSerialLine::SetCustomBaudRate(int rate) {
    customBaudRate_ = rate;
    if (baudRate_ == TBaudRate::brCustom)
        ApplyIfOpen();
}

void TCustomSerialLine::SetDataBits(TDataBits bits) {
    dataBits_ = bits;
    ApplyIfOpen();
}

void TCustomSerialLine::SetStopBits(TStopBits bits) {
    stopBits_ = bits;
    ApplyIfOpen();
}

void TCustomSerialLine::SetParity(const TLineParity& parity) {
    parity_ = parity;
    ApplyIfOpen();
}

void TCustomSerialLine::SetFlowControl(const TLineFlowControl& flow) {
    flowControl_ = flow;
    ApplyIfOpen();
}

void TCustomSerialLine::SetTimeouts(const TLineTimeouts& timeouts) {
    timeouts_ = timeouts;
}

void TCustomSerialLine::SetBuffer(const TLineBuffer& buffer) {
    buffer_ = buffer;
}

void TCustomSerialLine::SetConnected(bool connected) {
    if (connected == connected_)
        return;
    if (connected)
        Open();
    else
        Close();
}

void TCustomSerialLine::ApplyIfOpen() {
    if (connected_)
        ApplyLineSettings();
}

void TCustomSerialLine::ApplyLineSettings() {
    SerialLineSettings s;
    s.baud = RateOf(baudRate_, customBaudRate_);
    s.dataBits = 5 + static_cast<int>(dataBits_);
    // POSIX has no 1.5 stop bits; the line then runs with two.
    s.twoStopBits = stopBits_ != TStopBits::sbOneStopBit;
    s.parity = ParityOf(parity_.Bits);
    s.parityCheck = parity_.Check;
    s.ctsFlow = flowControl_.OutCTSFlow || flowControl_.ControlRTS == TRTSFlowControl::rtsHandshake;
    s.xonOut = flowControl_.XonXoffOut;
    s.xonIn = flowControl_.XonXoffIn;
    s.xonChar = flowControl_.XonChar;
    s.xoffChar = flowControl_.XoffChar;
    s.dtr = flowControl_.ControlDTR == TDTRFlowControl::dtrEnable;
    s.rts = flowControl_.ControlRTS == TRTSFlowControl::rtsEnable;
    if (TSerialFault fault = device_.Apply(s))
        throw ESerialLine(ESerialLine::CE_SetStateFailed, fault);
}

void TCustomSerialLine::Open() {
    if (connected_)
        return;
    if (OnBeforeOpen)
        OnBeforeOpen(this);
    if (TSerialFault fault = device_.Open(port_))
        throw ESerialLine(ESerialLine::CE_OpenFailed, fault);
    connected_ = true;
    try {
        SetUpDevice();
        input_.Reset(buffer_.InputSize, discardNull_);
        StartThread();
    } catch (...) {
        device_.Close();
        connected_ = false;
        throw;
    }
    state_ = TLineState::Open;
    if (OnAfterOpen)
        OnAfterOpen(this);
}

void TCustomSerialLine::SetUpDevice() {
    if (buffer_.InputSize <= 0 || buffer_.OutputSize <= 0)
        throw ESerialLine(ESerialLine::CE_SetupCommFailed, Fault_Of(TLineFailure::BadSetting));
    if (TSerialFault fault = device_.SetQueues(buffer_.InputSize, buffer_.OutputSize))
        throw ESerialLine(ESerialLine::CE_SetupCommFailed, fault);
    ApplyLineSettings();
    if (timeouts_.ReadTotalMultiplier < 0 || timeouts_.ReadTotalConstant < 0 ||
        timeouts_.WriteTotalMultiplier < 0 || timeouts_.WriteTotalConstant < 0)
        throw ESerialLine(ESerialLine::CE_SetTimeoutsFailed, Fault_Of(TLineFailure::BadSetting));
    if (TSerialFault fault =
            device_.SetTimeouts(timeouts_.WriteTotalMultiplier, timeouts_.WriteTotalConstant))
        throw ESerialLine(ESerialLine::CE_SetTimeoutsFailed, fault);
}

void TCustomSerialLine::StartThread() {
    if (events_ == 0)
        return;
    auto thread = std::make_unique<TSerialLineThread>(
        input_, [this] { RxCharHandedOver(); }, device_.NativeHandle(), (events_ & evRxChar) != 0,
        // Queued: the thread object must not be ended from inside its own notifier.
        [this] {
            QMetaObject::invokeMethod(
                this, [this] { DeviceGone(); }, Qt::QueuedConnection);
        });
    // A port without its event thread would never report a byte: the open fails.
    if (int err = thread->Start())
        throw ESerialLine(ESerialLine::CE_OpenFailed, {err, TPortCause::Other});
    thread_ = std::move(thread);
}

void TCustomSerialLine::SetState(TLineState state) {
    state_ = state;
    if (OnLineStateChange)
        OnLineStateChange(this);
}

void TCustomSerialLine::DeviceGone() {
    if (!connected_ || state_ == TLineState::Gone || !thread_ || !thread_->DeviceGone())
        return;
    thread_->Stop();
    thread_.reset();
    device_.Close();
    reopenTimer_.start();
    SetState(TLineState::Gone);
}

void TCustomSerialLine::TryReopen() {
    if (!connected_ || state_ != TLineState::Gone) {
        reopenTimer_.stop();
        return;
    }
    if (!CanReopen() || device_.Open(port_))
        return;
    try {
        SetUpDevice();
        input_.Reset(buffer_.InputSize, discardNull_);
        StartThread();
    } catch (const ESerialLine&) {
        // Not ready yet (a device still settling): tried again at the next tick.
        device_.Close();
        return;
    }
    reopenTimer_.stop();
    SetState(TLineState::Reopened);
}

QString TCustomSerialLine::DevicePath() const {
    return QString::fromLocal8Bit(SerialDevice::DevicePath(port_));
}

QString TCustomSerialLine::SettingsText() const {
    static const char parities[] = {'N', 'O', 'E', 'M', 'S'};
    static const char* const stops[] = {"1", "1.5", "2"};
    return QStringLiteral("%1 %2-%3-%4")
        .arg(RateOf(baudRate_, customBaudRate_))
        .arg(5 + static_cast<int>(dataBits_))
        .arg(QLatin1Char(parities[static_cast<int>(parity_.Bits)]))
        .arg(QLatin1String(stops[static_cast<int>(stopBits_)]));
}

void TCustomSerialLine::Close() {
    if (!connected_)
        return;
    if (OnBeforeClose)
        OnBeforeClose(this);
    reopenTimer_.stop();
    const bool gone = state_ == TLineState::Gone || (thread_ && thread_->DeviceGone());
    const TSerialFault purgeFault = gone ? TSerialFault{} : device_.Purge();
    if (thread_) {
        thread_->Stop();
        thread_.reset();
    }
    device_.Close();
    connected_ = false;
    state_ = TLineState::Closed;
    input_.Reset(0, false);
    if (OnAfterClose)
        OnAfterClose(this);
    // Close always completes, so the settings can still be written after a failure; a device
    // that has gone away has nothing left to purge.
    if (purgeFault && purgeFault.cause != TPortCause::DeviceGone)
        throw ESerialLine(ESerialLine::CE_PurgeFailed, purgeFault);
}

int TCustomSerialLine::Write(const void* buffer, int count) {
    if (!connected_)
        throw ESerialLine(ESerialLine::CE_WriteFailed, Fault_Of(TLineFailure::NotOpen));
    if (state_ == TLineState::Gone)
        throw ESerialLine(ESerialLine::CE_WriteFailed, Fault_Of(TLineFailure::Gone));
    int written = 0;
    int timeout = timeouts_.WriteTotalMultiplier * count + timeouts_.WriteTotalConstant;
    if (TSerialFault fault =
            device_.WriteAll(static_cast<const uint8_t*>(buffer), count, timeout, written))
        throw ESerialLine(ESerialLine::CE_WriteFailed, fault);
    return written;
}

int TCustomSerialLine::Read(void* buffer, int count) {
    if (!connected_)
        throw ESerialLine(ESerialLine::CE_ReadFailed, Fault_Of(TLineFailure::NotOpen));
    return input_.Read(static_cast<uint8_t*>(buffer), count);
}

int TCustomSerialLine::BytesWaiting() {
    if (!connected_)
        throw ESerialLine(ESerialLine::CE_ClearCommFailed, Fault_Of(TLineFailure::NotOpen));
    return input_.Size();
}

std::vector<TInputArrival> TCustomSerialLine::InputArrivals() {
    return input_.Arrivals();
}

TLineClock::duration TCustomSerialLine::CharacterTime() const {
    const int baud = RateOf(baudRate_, customBaudRate_);
    if (baud <= 0)
        return TLineClock::duration::zero();
    // In half bits, for the one and a half stop bits.
    static const int stopHalves[] = {2, 3, 4};
    const int halves = 2 * (1 + 5 + static_cast<int>(dataBits_)) +
                       (parity_.Bits == TParityBits::prNone ? 0 : 2) +
                       stopHalves[static_cast<int>(stopBits_)];
    return std::chrono::duration_cast<TLineClock::duration>(
        std::chrono::nanoseconds(500'000'000LL * halves / baud));
}

void TCustomSerialLine::RxCharHandedOver() {
    if (!connected_)
        return;
    int count = BytesWaiting();
    if (count > 0 && OnRxChar)
        OnRxChar(this, count);
}
