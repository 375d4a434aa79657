#include "Carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString Carpeta_Configuracion() {
    const QString propia = qEnvironmentVariable("KALVEX_CONFIG_DIR");
    if (!propia.isEmpty()) {
        return QDir::cleanPath(propia);
    }
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return QDir::cleanPath(base + QStringLiteral("/kalvex"));
}

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

QString Carpeta_Datos() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/kalvex"));
}

QString Busca_Fichero(const QString& nombre) {
    const QString propio = Carpeta_Configuracion() + QLatin1Char('/') + nombre;
    if (QFileInfo::exists(propio)) {
        return propio;
    }
    return Carpeta_Datos() + QLatin1Char('/') + nombre;
}
