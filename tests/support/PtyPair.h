#pragma once
// A pseudo-terminal pair for tests: the program under test opens the slave by its path, the
// test plays the far end on the master.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace kalvex::test {

// Serves events until the condition holds or the deadline passes; returns the condition.
inline bool WaitUntil(const std::function<bool()>& cond, int deadlineMs = 3000) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(500);
    }
    return true;
}

class PtyPair {
public:
    PtyPair() {
        int slave = -1;
        if (openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        path_ = QString::fromLocal8Bit(ttyname(slave));
        slave_ = slave;
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() {
        CloseMaster();
        CloseSlave();
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const QString& SlavePath() const { return path_; }
    int Master() const { return master_; }
    int Slave() const { return slave_; }

    void Write(const QByteArray& bytes) {
        if (::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
            throw std::runtime_error("write to pty master failed");
    }

    // Everything the program has written so far (non-blocking).
    QByteArray ReadAvailable() {
        QByteArray out;
        char buf[256];
        for (;;) {
            ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, static_cast<int>(n));
        }
        return out;
    }

    void CloseSlave() {
        if (slave_ >= 0)
            ::close(slave_);
        slave_ = -1;
    }

    void CloseMaster() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

inline QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

} // namespace kalvex::test
