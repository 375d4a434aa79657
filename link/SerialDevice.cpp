#include "SerialDevice.h"

std::function<int(const QByteArray& path)>& SerialDevice::OpenFault() {
    static std::function<int(const QByteArray&)> fault;
    return fault;
}
