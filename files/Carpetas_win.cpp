// The program's folders on Windows: settings and the user's own language file in
// %APPDATA%\Kalvex, records and logs in %LOCALAPPDATA%\Kalvex, and the installed language file
// and help pages beside the program.

#include "Carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>

namespace {

QString Carpeta_Entorno(const char* variable, const char* propia) {
    const QString forzada = qEnvironmentVariable(propia);
    if (!forzada.isEmpty())
        return QDir::cleanPath(forzada);
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath();
    return QDir::cleanPath(base + QStringLiteral("/Kalvex"));
}

// Earlier versions kept their settings in the Windows folder: the first start here takes them
// over, once; the copy then lives on and the old file is left as it was.
void Hereda_Configuracion(const QString& carpeta) {
    const QString nueva = carpeta + QStringLiteral("/KALVEX.INI");
    const QString windows = qEnvironmentVariable("WINDIR");
    const QString antigua = windows + QStringLiteral("/KALVEX.INI");
    if (windows.isEmpty() || QFileInfo::exists(nueva) || !QFileInfo::exists(antigua))
        return;
    if (QDir().mkpath(carpeta))
        QFile::copy(antigua, nueva);
}

} // namespace

QString Carpeta_Configuracion() {
    const QString carpeta = Carpeta_Entorno("APPDATA", "KALVEX_CONFIG_DIR");
    if (qEnvironmentVariableIsEmpty("KALVEX_CONFIG_DIR")) {
        static std::once_flag una_vez;
        std::call_once(una_vez, [&] { Hereda_Configuracion(carpeta); });
    }
    return carpeta;
}

QString Carpeta_Datos() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

QString Carpeta_Datos_Usuario() {
    return Carpeta_Entorno("LOCALAPPDATA", "KALVEX_DATA_DIR");
}
