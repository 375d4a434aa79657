// The program's folders on POSIX: the XDG base directories, and share/kalvex beside the
// program's bin folder.

#include "Carpetas.h"

#include <QCoreApplication>
#include <QDir>

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

QString Carpeta_Datos() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/kalvex"));
}

QString Carpeta_Datos_Usuario() {
    const QString propia = qEnvironmentVariable("KALVEX_DATA_DIR");
    if (!propia.isEmpty())
        return QDir::cleanPath(propia);
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // The XDG rules ignore a relative value.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/kalvex"));
}
