#include "Diario.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// The device and file number (st_ino is 0 where the system has none: then only whether the
// log is there counts, and where a file in use cannot be deleted that is all there is).
bool Identidad(const QString& fichero, quint64& dispositivo, quint64& nodo) {
    struct stat datos {};
    if (::stat(QFile::encodeName(fichero).constData(), &datos) != 0) {
        return false;
    }
    dispositivo = static_cast<quint64>(datos.st_dev);
    nodo = static_cast<quint64>(datos.st_ino);
    return true;
}

} // namespace

TDiario::TDiario(const QString& fichero) : log_(fichero + QStringLiteral("-wal")) {}

void TDiario::Anota() {
    anotado_ = Identidad(log_, dispositivo_, nodo_);
}

bool TDiario::Intacto() const {
    quint64 dispositivo = 0;
    quint64 nodo = 0;
    return anotado_ && Identidad(log_, dispositivo, nodo) && dispositivo == dispositivo_ &&
           nodo == nodo_;
}
