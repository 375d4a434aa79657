#pragma once
// A folder that stands for / in the port list (KALVEX_DEVICE_ROOT, set while it lives).

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace kalvex::test {

// A folder that stands for / : device files in dev/, stable names in dev/serial/by-id, and
// what sysfs says of each terminal in sys/.
class DeviceTree {
public:
    DeviceTree() { qputenv("KALVEX_DEVICE_ROOT", dir.path().toLocal8Bit()); }
    ~DeviceTree() { qunsetenv("KALVEX_DEVICE_ROOT"); }

    // A USB terminal; product is the adapter's description (none when empty).
    void Usb(const QString& name, const QString& product) {
        Make("sys/devices/usb1/1-" + name);
        if (!product.isEmpty())
            Write("sys/devices/usb1/1-" + name + "/product", product + "\n");
        const QString port = Make("sys/devices/usb1/1-" + name + "/1-0:1.0/" + name);
        Tty(name, port);
    }
    // A built-in port; type 0 means no UART behind it.
    void BuiltIn(const QString& name, int type) {
        const QString port = Make("sys/devices/platform/serial8250/" + name);
        Tty(name, port);
        Write("sys/class/tty/" + name + "/type", QString::number(type) + "\n");
    }
    QString ById(const QString& id, const QString& target) {
        Make("dev/serial/by-id");
        const QString link = dir.filePath("dev/serial/by-id/" + id);
        QFile::link("../../" + target, link);
        return link;
    }
    QString Dev(const QString& name) const { return dir.filePath("dev/" + name); }

private:
    QString Make(const QString& path) {
        QDir().mkpath(dir.filePath(path));
        return dir.filePath(path);
    }
    void Write(const QString& path, const QString& text) {
        QFile f(dir.filePath(path));
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
    }
    void Tty(const QString& name, const QString& devicePath) {
        Make("sys/class/tty/" + name);
        QFile::link(devicePath, dir.filePath("sys/class/tty/" + name + "/device"));
        Make("dev");
        Write("dev/" + name, {});
    }
    QTemporaryDir dir;
};

} // namespace kalvex::test
