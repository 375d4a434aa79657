// The COM ports present on Windows: the ones the serial drivers list in the registry
// (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM), named as the Device Manager names them (SetupAPI's
// friendly name, "USB Serial Port (COM5)").

#include "PortDiscovery.h"

#include "SerialDevice.h"

#include <windows.h>

#include <setupapi.h>

#include <algorithm>
#include <map>

namespace {

// The Ports (COM & LPT) device class.
const GUID PortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

QString RegistryString(HKEY key, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(value).trimmed();
}

std::vector<QString> RegisteredPorts() {
    std::vector<QString> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t value[256] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        DWORD type = 0;
        const LONG r = RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                                     reinterpret_cast<BYTE*>(value), &size);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r == ERROR_SUCCESS && type == REG_SZ)
            ports.push_back(QString::fromWCharArray(value).trimmed());
    }
    RegCloseKey(key);
    return ports;
}

// Port name → the Device Manager's name for it, for the ports whose driver gives one.
std::map<QString, QString> FriendlyNames() {
    std::map<QString, QString> names;
    HDEVINFO set = SetupDiGetClassDevsW(&PortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const QString port = RegistryString(key, L"PortName").toUpper();
        RegCloseKey(key);
        wchar_t friendly[256] = {};
        if (!port.isEmpty() &&
            SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr,
                                              reinterpret_cast<BYTE*>(friendly),
                                              sizeof friendly - sizeof(wchar_t), nullptr))
            names[port] = QString::fromWCharArray(friendly).trimmed();
    }
    SetupDiDestroyDeviceInfoList(set);
    return names;
}

int PortNumber(const QString& port) {
    return port.mid(3).toInt();
}

} // namespace

std::vector<PresentPort> PresentPorts() {
    const std::map<QString, QString> friendly = FriendlyNames();
    std::vector<PresentPort> ports;
    for (const QString& registered : RegisteredPorts()) {
        const QString port = registered.toUpper();
        if (SerialDevice::DevicePath(port).isEmpty() ||
            std::any_of(ports.begin(), ports.end(),
                        [&](const PresentPort& p) { return p.path == port; }))
            continue;
        const auto named = friendly.find(port);
        PresentPort p{port, port, {}, port};
        if (named != friendly.end()) {
            p.description = named->second;
            // Drivers put the port in their friendly name; one that does not gets it added.
            p.label = named->second.contains(port)
                          ? named->second
                          : named->second + QStringLiteral(" (%1)").arg(port);
        }
        ports.push_back(p);
    }
    std::sort(ports.begin(), ports.end(), [](const PresentPort& a, const PresentPort& b) {
        return PortNumber(a.path) < PortNumber(b.path);
    });
    return ports;
}

QString PortLabel(const QString& port) {
    const std::vector<PresentPort> present = PresentPorts();
    if (const PresentPort* p = FindPresentPort(present, port))
        return p->label;
    return port;
}
