#pragma once
// A disk that fails while it lives, through the writer's own seam (so it works for root, and
// without a filesystem of its own): it takes `room` more bytes in all and then refuses every
// write with `error`, as a disk that fills up does; or it takes every byte and fails the
// sync, as a disk that cannot keep what it was handed does.

#include "Disco.h"

#include <algorithm>
#include <cerrno>

namespace kalvex::test {

class FailingDisk {
public:
    enum class Step { Write, Sync };

    explicit FailingDisk(int error, qint64 room = 0, Step step = Step::Write) : before_(Disco()) {
        Disco().Escribe = [this, error, room, step](int fd, const char* data, qint64 n) {
            if (step == Step::Write) {
                if (written_ >= room) {
                    errno = error;
                    return qint64{-1};
                }
                n = std::min(n, room - written_);
            }
            const qint64 done = before_.Escribe(fd, data, n);
            written_ += std::max<qint64>(done, 0);
            return done;
        };
        Disco().Sincroniza = [this, error, step](int fd) {
            if (step == Step::Sync) {
                errno = error;
                return -1;
            }
            return before_.Sincroniza(fd);
        };
    }
    ~FailingDisk() { Disco() = before_; }
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

private:
    TDisco before_;
    qint64 written_ = 0;
};

} // namespace kalvex::test
