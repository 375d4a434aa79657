#include "PortDiscovery.h"

#include "SerialDevice.h"

#include <QFileInfo>

const PresentPort* FindPresentPort(const std::vector<PresentPort>& ports, const QString& port) {
    for (const PresentPort& p : ports)
        if (SamePort(p.path, port))
            return &p;
    return nullptr;
}

bool SamePort(const QString& a, const QString& b) {
    if (a == b)
        return true;
    const QByteArray path = SerialDevice::DevicePath(a);
    if (path.isEmpty())
        return false;
    if (SerialDevice::DevicePath(b) == path)
        return true;
    const QString real = QFileInfo(QString::fromLocal8Bit(path)).canonicalFilePath();
    return !real.isEmpty() &&
           QFileInfo(QString::fromLocal8Bit(SerialDevice::DevicePath(b))).canonicalFilePath() ==
               real;
}
