// The decoder link's receive path. The input is a script for the far end of a pseudo-terminal:
// bytes sent while the link is idle, replies cut into pieces and sent at chosen moments while a
// transaction waits, a transaction started from the unsolicited-frame handler or from a timer
// while another one waits. Whatever the bytes and their timing, the link does not crash or
// hang, every frame it returns or reports is four consecutive bytes the far end sent, a
// transaction started while another waits is refused, and afterwards the link is idle: a new
// frame is reported as unsolicited and a new transaction is accepted.
//
// Only the link's public interface is used. The reply wait is shortened so that unanswered
// requests cost milliseconds instead of 750 ms each.

#include "DECODER2.h"
#include "FuzzCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using kalvex::fuzz::Check;

namespace {

constexpr int kReplyWaitMs = 4;
constexpr int kDeadlineMs = 3000;
constexpr int kMaxBytesPerRun = 800; // below the link's input queue, which drops the excess

class Script {
public:
    Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    QByteArray Bytes(size_t n) {
        n = std::min(n, size_ - pos_);
        QByteArray out(reinterpret_cast<const char*>(data_ + pos_), static_cast<qsizetype>(n));
        pos_ += n;
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

struct Line {
    int master = -1;
    int slave = -1; // kept open so the terminal lives, and to see what waits on the link's side
    TDECODER2* link = nullptr;

    QByteArray sent;                 // what the far end wrote (with the tail of earlier runs)
    std::vector<Trama_Dec> requests; // frames the link was asked to write in this run
    std::vector<Trama_Dec> unsolicited;
    int transacting = 0; // transactions in progress, nested ones included
    int timersPending = 0;
    bool handlerTransacts = false; // the next unsolicited frame starts a transaction
    bool handlerWaits = false;
    int sentThisRun = 0;

    void Send(const QByteArray& bytes) {
        const QByteArray part = bytes.left(kMaxBytesPerRun - sentThisRun);
        if (part.isEmpty())
            return;
        sentThisRun += static_cast<int>(part.size());
        Check(::write(master, part.constData(), static_cast<size_t>(part.size())) == part.size(),
              "the far end can write");
        sent += part;
    }

    bool FromFarEnd(const Trama_Dec& f) const {
        return sent.contains(QByteArray(reinterpret_cast<const char*>(f.Bytes.data()), 4));
    }

    // A transaction as the program makes one; a refusal is expected exactly when another waits.
    void Transact(const Trama_Dec& request, bool waitReply) {
        const bool busy = transacting > 0;
        requests.push_back(request);
        ++transacting;
        try {
            const Trama_Dec reply =
                link->Transact(request[0], request[1], request[3], request[2], waitReply);
            --transacting;
            Check(!busy, "a transaction is refused while another one waits");
            Check(reply == Trama_Sin_Respuesta || FromFarEnd(reply),
                  "a reply is four consecutive bytes the far end sent");
        } catch (const EDecoderBusy&) {
            --transacting;
            Check(busy, "a transaction is accepted when none waits");
        }
    }

    void OnUnsolicited(const Trama_Dec& f) {
        Check(FromFarEnd(f), "an unsolicited frame is four consecutive bytes the far end sent");
        unsolicited.push_back(f);
        if (handlerTransacts) {
            handlerTransacts = false;
            Transact(Trama_Dec(0x20, f[0], f[2], f[3]), handlerWaits);
        }
    }

    int WaitingOnLinkSide() const {
        int n = 0;
        ioctl(slave, FIONREAD, &n);
        return n;
    }

    template <typename Cond> void ServeUntil(Cond cond, const char* what) {
        QElapsedTimer t;
        t.start();
        while (!cond()) {
            Check(t.elapsed() < kDeadlineMs, what);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
    }

    // Until the far end's timers have fired and the link has taken every frame sent: nothing
    // waits in the terminal and less than a frame in the link, three looks in a row.
    void Settle() {
        ServeUntil([&] { return timersPending == 0; }, "the far end's script ends");
        int quiet = 0;
        ServeUntil(
            [&] {
                quiet = WaitingOnLinkSide() == 0 && link->BytesWaiting() < 4 ? quiet + 1 : 0;
                usleep(200);
                return quiet == 3;
            },
            "the link takes every frame sent to it");
    }

    // Everything the link wrote is whole frames it was asked for.
    void CheckWritten() {
        QByteArray out;
        char buf[512];
        for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;)
            out.append(buf, static_cast<qsizetype>(n));
        Check(out.size() % 4 == 0, "the link writes whole frames");
        for (qsizetype i = 0; i < out.size(); i += 4) {
            bool asked = false;
            for (const Trama_Dec& r : requests)
                asked = asked || out.mid(i, 4) ==
                                     QByteArray(reinterpret_cast<const char*>(r.Bytes.data()), 4);
            Check(asked, "the link writes only the frames it was asked for");
        }
    }
};

Line* line = nullptr;

void Open() {
    static int argc = 1;
    static char name[] = "fuzz_link_receive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Line l;
    if (openpty(&l.master, &l.slave, nullptr, nullptr, nullptr) != 0)
        std::abort();
    termios tio{};
    tcgetattr(l.slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(l.slave, TCSANOW, &tio);
    fcntl(l.master, F_SETFL, fcntl(l.master, F_GETFL) | O_NONBLOCK);
    l.link = new TDECODER2;
    l.link->T_Respuesta->setInterval(kReplyWaitMs);
    l.link->SetPort(QString::fromLocal8Bit(ttyname(l.slave)));
    l.link->Open();
    l.link->OnDECRecibedNotDemand = [](QObject*, Trama_Dec f) { line->OnUnsolicited(f); };
    line = &l;
}

// Sends the pieces of the script at their moments, counted from now.
void SchedulePieces(Line& l, Script& s) {
    int at = 0;
    for (int pieces = s.Byte() % 4; pieces > 0; --pieces) {
        at += s.Byte() % 8;
        const QByteArray piece = s.Bytes(s.Byte() % 9);
        ++l.timersPending;
        QTimer::singleShot(at, [&l, piece] {
            l.Send(piece);
            --l.timersPending;
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Open();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Line& l = *line;
    l.sent = l.sent.right(64);
    l.requests.clear();
    l.unsolicited.clear();
    l.sentThisRun = 0;
    l.handlerTransacts = false;

    Script s(data, size);
    for (int step = 0; step < 12 && !s.Done(); ++step) {
        switch (s.Byte() % 5) {
        case 0: // bytes while the link is idle
            l.Send(s.Bytes(1 + s.Byte() % 16));
            l.Settle();
            break;
        case 1: // a transaction, and the far end's pieces while it waits (or after)
        case 2: {
            const bool waitReply = s.Byte() % 2 == 0;
            const Trama_Dec request(s.Byte(), s.Byte(), s.Byte(), s.Byte());
            SchedulePieces(l, s);
            l.Transact(request, waitReply);
            break;
        }
        case 3: // the next unsolicited frame starts a transaction from its handler
            l.handlerTransacts = true;
            l.handlerWaits = s.Byte() % 2 == 0;
            break;
        case 4: { // a transaction from a timer, perhaps while another one waits
            const int at = s.Byte() % 8;
            const bool waitReply = s.Byte() % 2 == 0;
            const Trama_Dec request(0x70, s.Byte(), 0x00, 0x00);
            ++l.timersPending;
            QTimer::singleShot(at, [&l, request, waitReply] {
                l.Transact(request, waitReply);
                --l.timersPending;
            });
            break;
        }
        }
    }
    l.Settle();
    l.handlerTransacts = false;

    // Idle afterwards: the bytes left over are dropped, and a new frame is unsolicited...
    std::vector<uint8_t> rest(static_cast<size_t>(l.link->BytesWaiting()) + 1);
    l.link->Read(rest.data(), static_cast<int>(rest.size()));
    const size_t before = l.unsolicited.size();
    l.sentThisRun = 0;
    l.Send(QByteArray("\x40\x44\x12\x34", 4));
    l.ServeUntil([&] { return l.unsolicited.size() > before; },
                 "a frame sent to an idle link is reported as unsolicited");
    // ...and a new transaction is accepted.
    l.Transact(Trama_Dec(0x50, 0x20, 0x00, 0x00), false);
    l.Settle();
    l.CheckWritten();
    return 0;
}
