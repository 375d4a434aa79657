#include "USerialLine.h"

#include "TSerialLineThread.h"

#include <algorithm>
#include <cerrno>

namespace {

std::string MessageFor(ESerialLine::Code code, int winCode) {
    QString text = ESerialLine::Text(code);
    if (winCode != -1)
        text += QStringLiteral(" (win error code: %1)").arg(winCode);
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

ESerialLine::ESerialLine(Code code, int winCode)
    : std::runtime_error(MessageFor(code, winCode)), code_(code), winCode_(winCode) {}

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

TCustomSerialLine::TCustomSerialLine(QObject* owner) : QObject(owner) {}

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
    if (int err = device_.Apply(s))
        throw ESerialLine(ESerialLine::CE_SetStateFailed, err);
}

void TCustomSerialLine::Open() {
    if (connected_)
        return;
    if (OnBeforeOpen)
        OnBeforeOpen(this);
    if (int err = device_.Open(port_))
        throw ESerialLine(ESerialLine::CE_OpenFailed, err);
    connected_ = true;
    try {
        if (buffer_.InputSize <= 0 || buffer_.OutputSize <= 0)
            throw ESerialLine(ESerialLine::CE_SetupCommFailed, EINVAL);
        ApplyLineSettings();
        if (timeouts_.ReadTotalMultiplier < 0 || timeouts_.ReadTotalConstant < 0 ||
            timeouts_.WriteTotalMultiplier < 0 || timeouts_.WriteTotalConstant < 0)
            throw ESerialLine(ESerialLine::CE_SetTimeoutsFailed, EINVAL);
    } catch (...) {
        device_.Close();
        connected_ = false;
        throw;
    }
    {
        std::lock_guard<std::mutex> g(queueLock_);
        inputQueue_.clear();
    }
    if (events_ != 0)
        thread_ = std::make_unique<TSerialLineThread>(*this, device_.Fd());
    if (OnAfterOpen)
        OnAfterOpen(this);
}

void TCustomSerialLine::Close() {
    if (!connected_)
        return;
    if (OnBeforeClose)
        OnBeforeClose(this);
    const bool gone = thread_ && thread_->DeviceGone();
    int purgeError = device_.Purge();
    if (thread_) {
        thread_->Stop();
        thread_.reset();
    }
    device_.Close();
    connected_ = false;
    {
        std::lock_guard<std::mutex> g(queueLock_);
        inputQueue_.clear();
    }
    if (OnAfterClose)
        OnAfterClose(this);
    // Close always completes, so the settings can still be written after a failure; a device
    // that has gone away has nothing left to purge.
    if (purgeError && !gone && purgeError != EIO && purgeError != ENXIO && purgeError != ENODEV)
        throw ESerialLine(ESerialLine::CE_PurgeFailed, purgeError);
}

int TCustomSerialLine::Write(const void* buffer, int count) {
    if (!connected_)
        throw ESerialLine(ESerialLine::CE_WriteFailed, EBADF);
    int written = 0;
    int timeout = timeouts_.WriteTotalMultiplier * count + timeouts_.WriteTotalConstant;
    if (int err = device_.WriteAll(static_cast<const uint8_t*>(buffer), count, timeout, written))
        throw ESerialLine(ESerialLine::CE_WriteFailed, err);
    return written;
}

int TCustomSerialLine::Read(void* buffer, int count) {
    if (!connected_)
        throw ESerialLine(ESerialLine::CE_ReadFailed, EBADF);
    std::lock_guard<std::mutex> g(queueLock_);
    int n = std::min<int>(count, static_cast<int>(inputQueue_.size()));
    auto* out = static_cast<uint8_t*>(buffer);
    std::copy_n(inputQueue_.begin(), n, out);
    inputQueue_.erase(inputQueue_.begin(), inputQueue_.begin() + n);
    return n;
}

int TCustomSerialLine::BytesWaiting() {
    if (!connected_)
        throw ESerialLine(ESerialLine::CE_ClearCommFailed, EBADF);
    std::lock_guard<std::mutex> g(queueLock_);
    return static_cast<int>(inputQueue_.size());
}

void TCustomSerialLine::QueueInput(const uint8_t* bytes, int count) {
    std::lock_guard<std::mutex> g(queueLock_);
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(inputQueue_.size()) >= buffer_.InputSize)
            break; // a full driver queue drops what does not fit
        if (discardNull_ && bytes[i] == 0)
            continue;
        inputQueue_.push_back(bytes[i]);
    }
}

void TCustomSerialLine::DispatchEvents(TLineEvents events) {
    if (!(events & evRxChar) || !connected_)
        return;
    int count = BytesWaiting();
    if (count > 0 && OnRxChar)
        OnRxChar(this, count);
}
