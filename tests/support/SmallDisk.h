#pragma once
// A filesystem of a test's own, mounted over a folder, so that the test can fill it to the
// last byte or make it read-only as a full disk or a locked USB stick would be. Only a test
// that may mount (root) has one; the others are skipped.

#include <QDir>
#include <QFile>
#include <QString>

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace kalvex::test {

class SmallDisk {
public:
    SmallDisk(const QString& folder, int kib) : folder_(folder) {
        QDir().mkpath(folder_);
#ifdef __linux__
        const QByteArray opciones = "size=" + QByteArray::number(kib) + "k";
        mounted_ = ::mount("tmpfs", Path(), "tmpfs", 0, opciones.constData()) == 0;
#else
        Q_UNUSED(kib);
#endif
    }
    ~SmallDisk() {
#ifdef __linux__
        if (mounted_)
            ::umount2(Path(), MNT_DETACH);
#endif
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const {
        return mounted_;
    }
    // Takes every byte left, in a file of its own.
    void Fill() {
        QFile relleno(Filler());
        if (!relleno.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray bloque(4096, 'x');
        while (relleno.write(bloque) == bloque.size()) {
        }
        while (relleno.write("x", 1) == 1) {
        }
    }
    void Free() {
        QFile::remove(Filler());
    }
    bool MakeReadOnly() {
#ifdef __linux__
        return ::mount(nullptr, Path(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#else
        return false;
#endif
    }

private:
    const char* Path() const {
        path_ = QFile::encodeName(folder_);
        return path_.constData();
    }
    QString Filler() const {
        return folder_ + QStringLiteral("/filler");
    }

    QString folder_;
    mutable QByteArray path_;
    bool mounted_ = false;
};

} // namespace kalvex::test
