#include "Disco.h"

#include <io.h>

TDisco& Disco() {
    static TDisco disco{[](int fd, const char* datos, qint64 n) -> qint64 {
                            return ::_write(fd, datos, static_cast<unsigned>(n));
                        },
                        // Down to the disk, as fsync does elsewhere.
                        [](int fd) { return ::_commit(fd); }};
    return disco;
}
