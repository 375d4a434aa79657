// The serial device on POSIX (Linux): a terminal device in raw mode.

#include "SerialDevice.h"
#include "SerialTermios.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/serial.h>
#include <linux/tty_flags.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool SpeedFor(int baud, speed_t& speed) {
    static const struct {
        int rate;
        speed_t code;
    } table[] = {{110, B110},       {300, B300},      {600, B600},       {1200, B1200},
                 {2400, B2400},     {4800, B4800},    {9600, B9600},     {19200, B19200},
                 {38400, B38400},   {57600, B57600},  {115200, B115200}, {230400, B230400},
                 {460800, B460800}, {921600, B921600}};
    for (const auto& row : table) {
        if (row.rate == baud) {
            speed = row.code;
            return true;
        }
    }
    return false;
}

// Unix98 pseudo-terminal slaves: they have no modem lines.
bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

// USB serial drivers name their devices ttyUSB and ttyACM; a stable by-id link leads there.
bool IsUsbDevice(const QByteArray& path) {
    char real[PATH_MAX];
    if (!::realpath(path.constData(), real))
        return false;
    const QByteArray name = QByteArray(real).mid(QByteArray(real).lastIndexOf('/') + 1);
    return name.startsWith("ttyUSB") || name.startsWith("ttyACM");
}

// USB adapters gather received bytes for up to 16 ms before passing them on, which eats into
// a 250 ms reply window at every frame; low-latency mode passes them on at once. A driver
// that refuses it still works.
bool AskLowLatency(int fd) {
    serial_struct info{};
    if (ioctl(fd, TIOCGSERIAL, &info) != 0)
        return false;
    if (info.flags & ASYNC_LOW_LATENCY)
        return true;
    info.flags |= ASYNC_LOW_LATENCY;
    if (ioctl(fd, TIOCSSERIAL, &info) != 0)
        return false;
    return ioctl(fd, TIOCGSERIAL, &info) == 0 && (info.flags & ASYNC_LOW_LATENCY);
}

// A failed open: ENXIO there is a ttyS without a UART, EWOULDBLOCK another program's lock.
TSerialFault OpenFailure(int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return {err, TPortCause::NotPresent};
    case EACCES:
    case EPERM:
        return {err, TPortCause::NoPermission};
    case EBUSY:
    case EWOULDBLOCK:
        return {err, TPortCause::HeldElsewhere};
    default:
        return {err, TPortCause::Other};
    }
}

// A failure of an open device: these three are what a hung-up or unplugged terminal gives.
TSerialFault LineFailure(int err) {
    const bool gone = err == EIO || err == ENXIO || err == ENODEV;
    return {err, gone ? TPortCause::DeviceGone : TPortCause::Other};
}

} // namespace

TSerialFault Fault_Of(TLineFailure failure) {
    switch (failure) {
    case TLineFailure::NotOpen:
        return {EBADF, TPortCause::Other};
    case TLineFailure::Gone:
        // As the system gives for a hung-up line.
        return {EIO, TPortCause::DeviceGone};
    case TLineFailure::BadSetting:
        return {EINVAL, TPortCause::Other};
    case TLineFailure::NoSuchPort:
        return {ENOENT, TPortCause::NotPresent};
    }
    return {EINVAL, TPortCause::Other};
}

struct SerialDevice::Impl {
    int fd = -1;
    bool pseudoTerminal = false;
    bool usb = false;
    bool lowLatency = false;

    TSerialFault SetModemLines(bool dtr, bool rts);
};

SerialDevice::SerialDevice() : impl_(std::make_unique<Impl>()) {}

SerialDevice::~SerialDevice() {
    Close();
}

QByteArray SerialDevice::DevicePath(const QString& port) {
    if (port.startsWith(QLatin1Char('/')))
        return port.toLocal8Bit();
    if (port.size() == 4 && port.startsWith(QLatin1String("COM")) && port[3] >= QLatin1Char('1') &&
        port[3] <= QLatin1Char('9'))
        return QByteArray("/dev/ttyS") + QByteArray::number(port[3].digitValue() - 1);
    return {};
}

bool SerialDevice::IsOpen() const {
    return impl_->fd >= 0;
}

std::intptr_t SerialDevice::NativeHandle() const {
    return impl_->fd;
}

bool SerialDevice::Usb() const {
    return impl_->usb;
}

bool SerialDevice::LowLatency() const {
    return impl_->lowLatency;
}

TSerialFault SerialDevice::Open(const QString& port) {
    if (impl_->fd >= 0)
        return {EBUSY, TPortCause::Other};
    const QByteArray path = DevicePath(port);
    if (path.isEmpty())
        return Fault_Of(TLineFailure::NoSuchPort);
    if (OpenFault()) {
        if (int err = OpenFault()(path))
            return OpenFailure(err);
    }
    int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenFailure(errno);
    // TIOCEXCL keeps other programs out but does not bind root; flock also keeps out a
    // second open in this process. A device without TIOCEXCL support is still usable.
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
        int err = errno;
        ::close(fd);
        return OpenFailure(err);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        return OpenFailure(err);
    }
    impl_->fd = fd;
    impl_->pseudoTerminal = IsPseudoTerminal(fd);
    impl_->usb = IsUsbDevice(path);
    impl_->lowLatency = impl_->usb && AskLowLatency(fd);
    // Bytes that reached the device while nobody had it open belong to nobody.
    tcflush(fd, TCIFLUSH);
    return {};
}

void SerialDevice::Close() {
    if (impl_->fd < 0)
        return;
    ioctl(impl_->fd, TIOCNXCL);
    ::close(impl_->fd); // also releases the flock
    impl_->fd = -1;
}

TSerialFault SerialDevice::SetQueues(int, int) {
    // The terminal driver's queues have a fixed size; the component bounds its own.
    return {};
}

TSerialFault SerialDevice::SetTimeouts(int, int) {
    // Reads never block (O_NONBLOCK, VMIN and VTIME 0), and WriteAll bounds each write.
    return {};
}

TSerialFault SerialDevice::Apply(const SerialLineSettings& s) {
    const int fd = impl_->fd;
    if (fd < 0)
        return Fault_Of(TLineFailure::NotOpen);
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return LineFailure(errno);
    if (!BuildTermios(s, tio))
        return Fault_Of(TLineFailure::BadSetting);
    if (impl_->pseudoTerminal) {
        // A pseudo-terminal has no parity or character size: its driver drops them, and the
        // C library reports the dropped bits as EINVAL.
        tio.c_cflag &= ~(CSIZE | PARENB);
        tio.c_cflag |= CS8;
    }
    if (tcsetattr(fd, TCSANOW, &tio) != 0)
        return LineFailure(errno);
    return impl_->SetModemLines(s.dtr, s.rts);
}

bool BuildTermios(const SerialLineSettings& s, termios& tio) {
    speed_t speed;
    if (!SpeedFor(s.baud, speed) || s.dataBits < 5 || s.dataBits > 8)
        return false;
    cfmakeraw(&tio);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);

    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CLOCAL | CREAD;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= sizes[s.dataBits - 5];
    if (s.twoStopBits)
        tio.c_cflag |= CSTOPB;
    switch (s.parity) {
    case SerialLineSettings::Parity::None:
        break;
    case SerialLineSettings::Parity::Odd:
        tio.c_cflag |= PARENB | PARODD;
        break;
    case SerialLineSettings::Parity::Even:
        tio.c_cflag |= PARENB;
        break;
    case SerialLineSettings::Parity::Mark:
        tio.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SerialLineSettings::Parity::Space:
        tio.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (s.ctsFlow)
        tio.c_cflag |= CRTSCTS;

    tio.c_iflag &= ~(INPCK | IXON | IXOFF | IXANY);
    if (s.parityCheck)
        tio.c_iflag |= INPCK;
    if (s.xonOut)
        tio.c_iflag |= IXON;
    if (s.xonIn)
        tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return true;
}

TSerialFault SerialDevice::Impl::SetModemLines(bool dtr, bool rts) {
    // Linux raises DTR and RTS when a port opens, even without flow control, so both are
    // set explicitly here.
    int set = (dtr ? TIOCM_DTR : 0) | (rts ? TIOCM_RTS : 0);
    int clear = (dtr ? 0 : TIOCM_DTR) | (rts ? 0 : TIOCM_RTS);
    for (auto [request, bits] : {std::pair{TIOCMBIS, set}, std::pair{TIOCMBIC, clear}}) {
        if (bits == 0)
            continue;
        if (ioctl(fd, request, &bits) != 0) {
            int err = errno;
            if (pseudoTerminal && (err == ENOTTY || err == EINVAL))
                continue;
            return LineFailure(err);
        }
    }
    return {};
}

TSerialFault SerialDevice::WriteAll(const uint8_t* bytes, int count, int timeoutMs, int& written) {
    written = 0;
    const int fd = impl_->fd;
    if (fd < 0)
        return Fault_Of(TLineFailure::NotOpen);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (written < count) {
        ssize_t n = ::write(fd, bytes + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return LineFailure(errno);
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return {ETIMEDOUT, TPortCause::Other};
        pollfd p{fd, POLLOUT, 0};
        int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r < 0 && errno != EINTR)
            return LineFailure(errno);
        if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return LineFailure(EIO);
    }
    return {};
}

TSerialFault SerialDevice::Purge() {
    const int fd = impl_->fd;
    if (fd < 0)
        return Fault_Of(TLineFailure::NotOpen);
    // A write returns once the bytes are in the driver, not on the line: flushing the output
    // queue would drop the closing frames written just before a close. So the output is let
    // go, bounded for an adapter that stopped sending (a few frames take milliseconds at 9600
    // baud), and only what is left then is thrown away. A pseudo-terminal reports an empty
    // queue while its far end has not read yet; flushing there would drop those bytes too.
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    int pendientes = 0;
    while (::ioctl(fd, TIOCOUTQ, &pendientes) == 0 && pendientes > 0 &&
           std::chrono::steady_clock::now() < limite)
        ::usleep(1000);
    if (tcflush(fd, pendientes > 0 ? TCIOFLUSH : TCIFLUSH) != 0)
        return LineFailure(errno);
    return {};
}
