#include "Carpetas.h"

#include <QFileInfo>

QString Busca_Fichero(const QString& nombre) {
    const QString propio = Carpeta_Configuracion() + QLatin1Char('/') + nombre;
    if (QFileInfo::exists(propio)) {
        return propio;
    }
    return Carpeta_Datos() + QLatin1Char('/') + nombre;
}
