#include "Guarda_Fichero.h"

#include "Disco.h"

#include <QSaveFile>

#include <cerrno>

namespace {

// The system's reason for the errno of the step that failed, and the temporary file removed.
bool Falla(QSaveFile& salida, int error, QString& causa) {
    causa = qt_error_string(error);
    salida.cancelWriting();
    return false;
}

} // namespace

bool Guarda_Fichero(const QString& fichero, const QByteArray& contenido, QString& causa) {
    // The bytes go straight to the temporary file's descriptor, each write checked: a buffered
    // save file flushes on commit, takes a short write (the disk filling up) for success and
    // renames the truncated file over the good one. Here a short write is followed by another,
    // which fails with the system's reason. Nothing is buffered, so nothing is left to flush.
    QSaveFile salida(fichero);
    if (!salida.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        causa = salida.errorString();
        return false;
    }
    const TDisco& disco = Disco();
    const int fd = salida.handle();
    for (qint64 hecho = 0; hecho < contenido.size();) {
        const qint64 n = disco.Escribe(fd, contenido.constData() + hecho, contenido.size() - hecho);
        const int error = errno;
        if (n < 0 && error == EINTR)
            continue;
        if (n <= 0)
            return Falla(salida, n < 0 ? error : ENOSPC, causa);
        hecho += n;
    }
    // A disk may take the bytes into its cache and fail to store them later (a network share
    // or a memory stick that is full): only the sync says so, and the save file's commit
    // does not look at what it says.
    if (disco.Sincroniza(fd) != 0)
        return Falla(salida, errno, causa);
    if (salida.commit())
        return true;
    causa = salida.errorString();
    return false;
}
