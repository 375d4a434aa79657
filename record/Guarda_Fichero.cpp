#include "Guarda_Fichero.h"

#include <QSaveFile>

bool Guarda_Fichero(const QString& fichero, const std::function<bool(QIODevice&)>& escribe,
                    QString& causa) {
    QSaveFile salida(fichero);
    if (!salida.open(QIODevice::WriteOnly)) {
        causa = salida.errorString();
        return false;
    }
    const bool escrito = escribe(salida);
    // A failed write is remembered by the save file, and commit then refuses to replace the
    // target; the reason is kept before the temporary file goes.
    if (escrito && salida.commit())
        return true;
    causa = salida.errorString();
    salida.cancelWriting();
    return false;
}
