#include "Recursos.h"

#include "Jpeg.h"

#include <QFile>

// The resource lives in a static library: nothing would pull its object file into the
// program unless something refers to it, which Q_INIT_RESOURCE does. It must stand outside
// any namespace.
static void Registra_Imagenes() {
    Q_INIT_RESOURCE(pictures);
}

static QString Ruta(const QString& nombre) {
    static const bool registrado = (Registra_Imagenes(), true);
    (void)registrado;
    return QStringLiteral(":/pictures/") + nombre;
}

QPixmap Imagen(const QString& nombre) {
    return QPixmap(Ruta(nombre));
}

QImage Foto(const QString& nombre) {
    QFile file(Ruta(nombre));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Decodifica_Jpeg(file.readAll());
}
