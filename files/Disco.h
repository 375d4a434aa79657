#pragma once
// The two system calls through which a file's bytes reach the disk, behind one seam: tests put
// other calls in their place to play a disk that fills up part-way or fails to keep what it
// was handed, which no test can arrange with a real disk.

#include <QtGlobal>

#include <functional>

struct TDisco {
    // As write(2): the number of bytes taken (perhaps fewer than n), or -1 with errno set.
    std::function<qint64(int fd, const char* datos, qint64 n)> Escribe;
    // As fsync(2): 0, or -1 with errno set.
    std::function<int(int fd)> Sincroniza;
};

// The calls Guarda_Fichero goes through: the system's own until a test replaces them.
TDisco& Disco();
