#include "Guarda_Fichero.h"

#include "Idiomas.h"

#include <QDir>
#include <QSaveFile>

bool Guarda_Fichero(const QString& fichero, const QByteArray& contenido, QString& causa) {
    // Unbuffered, and the whole text in as few writes as the system takes: a buffered save
    // file flushes on commit, takes a short write (the disk filling up) for success and
    // renames the truncated file over the good one. Here a short write is followed by
    // another, which fails with the system's reason.
    QSaveFile salida(fichero);
    if (!salida.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        causa = salida.errorString();
        return false;
    }
    for (qint64 hecho = 0; hecho < contenido.size();) {
        const qint64 n = salida.write(contenido.constData() + hecho, contenido.size() - hecho);
        if (n <= 0) {
            causa = salida.errorString();
            salida.cancelWriting();
            return false;
        }
        hecho += n;
    }
    if (salida.commit())
        return true;
    causa = salida.errorString();
    return false;
}

QString Aviso_Escritura(const QString& fichero, const QString& causa) {
    return Texto(QStringLiteral("GEN_MEN099")).arg(QDir::toNativeSeparators(fichero), causa);
}
