#include "Disco.h"

#include <unistd.h>

TDisco& Disco() {
    static TDisco disco{[](int fd, const char* datos, qint64 n) -> qint64 {
                            return ::write(fd, datos, static_cast<size_t>(n));
                        },
                        [](int fd) { return ::fsync(fd); }};
    return disco;
}
