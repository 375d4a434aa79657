#include "PortDiscovery.h"

#include "SerialDevice.h"

#include <QFileInfo>

const PresentPort* FindPresentPort(const std::vector<PresentPort>& ports, const QString& port) {
    const QString path = QString::fromLocal8Bit(SerialDevice::DevicePath(port));
    if (path.isEmpty())
        return nullptr;
    const QString real = QFileInfo(path).canonicalFilePath();
    for (const PresentPort& p : ports) {
        if (SerialDevice::DevicePath(p.path) == path.toLocal8Bit())
            return &p;
        if (!real.isEmpty() && QFileInfo(p.path).canonicalFilePath() == real)
            return &p;
    }
    return nullptr;
}
