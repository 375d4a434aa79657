#pragma once
// Test helpers: files written byte for byte, a private configuration folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void Escribe_Bytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline QByteArray Lee_Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The repository's folder, for the files the program ships.
inline QString Carpeta_Fuentes() {
    return QStringLiteral(KALVEX_SOURCE_DIR);
}

// Points KALVEX_CONFIG_DIR at a fresh temporary folder for the test's life, so no test ever
// touches the user's real settings.
class Carpeta_Temporal {
public:
    Carpeta_Temporal() : antes_(qgetenv("KALVEX_CONFIG_DIR")) {
        qputenv("KALVEX_CONFIG_DIR", Ruta().toLocal8Bit());
    }
    ~Carpeta_Temporal() { qputenv("KALVEX_CONFIG_DIR", antes_); }
    // The configuration folder itself; it does not exist until something writes there.
    QString Ruta() const { return dir_.path() + QStringLiteral("/config"); }
    QString Fichero(const QString& nombre) const { return Ruta() + QLatin1Char('/') + nombre; }

private:
    QTemporaryDir dir_;
    QByteArray antes_;
};
