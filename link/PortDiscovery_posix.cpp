// The serial devices present on POSIX (Linux): sysfs through the port-information library,
// and /dev/serial/by-id.

#include "PortDiscovery.h"

#include "SerialDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <map>

namespace {

struct Candidate {
    QString kernelName;
    QString devicePath;
    QString description;
};

enum class Kind { Usb, BuiltIn, Other };

Kind KindOf(const QString& kernelName) {
    if (kernelName.startsWith(QLatin1String("ttyUSB")) ||
        kernelName.startsWith(QLatin1String("ttyACM")))
        return Kind::Usb;
    if (kernelName.startsWith(QLatin1String("ttyS")))
        return Kind::BuiltIn;
    return Kind::Other;
}

QString ReadLine(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readLine()).trimmed();
}

// The same facts as the machine's sysfs gives them, read from a test tree: a tty's product
// text is in a "product" file of the USB device above it, and a built-in port has a UART when
// its "type" is not 0.
std::vector<Candidate> TreeCandidates(const QString& root) {
    std::vector<Candidate> out;
    const QDir classTty(root + QStringLiteral("/sys/class/tty"));
    for (const QString& name : classTty.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString device = root + QStringLiteral("/dev/") + name;
        if (!QFileInfo::exists(device))
            continue;
        const QString sys = classTty.filePath(name);
        const Kind kind = KindOf(name);
        if (kind == Kind::BuiltIn && ReadLine(sys + QStringLiteral("/type")) == QLatin1String("0"))
            continue;
        QString description;
        if (kind == Kind::Usb) {
            QString dir = QFileInfo(sys + QStringLiteral("/device")).canonicalFilePath();
            for (int up = 0; up < 4 && !dir.isEmpty() && description.isEmpty(); ++up) {
                description = ReadLine(dir + QStringLiteral("/product"));
                dir = QFileInfo(dir).path();
            }
        }
        out.push_back({name, device, description});
    }
    return out;
}

std::vector<Candidate> SystemCandidates() {
    std::vector<Candidate> out;
    // Used for the list only: the library already knows sysfs, USB descriptors and which
    // built-in ports have a UART; the line itself stays on the program's own component.
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out.push_back({info.portName(), info.systemLocation(), info.description()});
    return out;
}

} // namespace

std::vector<PresentPort> PresentPorts() {
    const QString root = qEnvironmentVariable("KALVEX_DEVICE_ROOT");
    std::vector<Candidate> candidates = root.isEmpty() ? SystemCandidates() : TreeCandidates(root);

    // Kernel name → stable name; the first in name order when a device has several.
    std::map<QString, QString> byId;
    const QDir idDir(root + QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : idDir.entryInfoList(QDir::Files | QDir::System, QDir::Name)) {
        const QString target = QFileInfo(link.canonicalFilePath()).fileName();
        if (!target.isEmpty() && !byId.count(target))
            byId[target] = link.absoluteFilePath();
    }

    std::vector<PresentPort> stable, usb, builtIn;
    for (const Candidate& c : candidates) {
        const Kind kind = KindOf(c.kernelName);
        const auto id = byId.find(c.kernelName);
        PresentPort p{
            id != byId.end() ? id->second : c.devicePath, c.kernelName, c.description, {}};
        p.label = c.description.isEmpty()
                      ? p.path
                      : c.description + QStringLiteral(" \u2014 ") + c.kernelName;
        if (id != byId.end())
            stable.push_back(p);
        else if (kind == Kind::Usb)
            usb.push_back(p);
        else if (kind == Kind::BuiltIn)
            builtIn.push_back(p);
    }
    const auto byName = [](const PresentPort& a, const PresentPort& b) {
        if (a.kernelName.size() != b.kernelName.size()) // ttyS2 before ttyS10
            return a.kernelName.size() < b.kernelName.size();
        return a.kernelName < b.kernelName;
    };
    for (auto* group : {&stable, &usb, &builtIn})
        std::sort(group->begin(), group->end(), byName);
    stable.insert(stable.end(), usb.begin(), usb.end());
    stable.insert(stable.end(), builtIn.begin(), builtIn.end());
    return stable;
}

QString PortLabel(const QString& port) {
    const QString path = QString::fromLocal8Bit(SerialDevice::DevicePath(port));
    if (!port.startsWith(QLatin1Char('/')))
        return path.isEmpty() ? port : port + QStringLiteral(" \u2014 ") + path;
    const std::vector<PresentPort> present = PresentPorts();
    if (const PresentPort* p = FindPresentPort(present, port))
        return p->label;
    return port;
}
