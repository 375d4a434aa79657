#include "Instalacion_Por_Defecto.h"

#include <QDir>

QString Carpeta_Instalaciones() {
    const QString propia = qEnvironmentVariable("KALVEX_DATA_DIR");
    if (!propia.isEmpty()) {
        return QDir::cleanPath(propia);
    }
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // The XDG rules ignore a relative value.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QStringLiteral("/kalvex"));
}

QString Instalacion_Por_Defecto() {
    return Carpeta_Instalaciones() + QStringLiteral("/installation") + EXTENSION_INSTALACION;
}
