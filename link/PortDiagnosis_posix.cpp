// Holders, groups and users on POSIX (Linux): /proc and the user database.

#include "PortDiagnosis.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <vector>

namespace {

// The number of a pseudo-terminal's slave device (/dev/pts/N), -1 for any other device.
int Pseudo_Terminal(dev_t device) {
    const unsigned mayor = major(device);
    return mayor >= 136 && mayor <= 143 ? static_cast<int>((mayor - 136) * 256 + minor(device))
                                        : -1;
}

// Whether the open file is the master side of pseudo-terminal `numero` (the kernel tells its
// number in the file's fdinfo).
bool Es_Su_Maestro(const QString& fdDir, const QString& fd, int numero) {
    QFile info(QString(fdDir).replace(QStringLiteral("/fd"), QStringLiteral("/fdinfo/")) + fd);
    if (!info.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& linea : info.readAll().split('\n'))
        if (linea.startsWith("tty-index:"))
            return linea.mid(10).trimmed().toInt() == numero;
    return false;
}

} // namespace

std::vector<PortHolder> PortHolders(const QByteArray& devicePath) {
    std::vector<PortHolder> holders;
    struct stat device {};
    if (devicePath.isEmpty() || ::stat(devicePath.constData(), &device) != 0 ||
        !S_ISCHR(device.st_mode))
        return holders;
    const qint64 self = ::getpid();
    const int pseudo = Pseudo_Terminal(device.st_rdev);
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == self)
            continue;
        const QString fdDir = QStringLiteral("/proc/%1/fd").arg(pid);
        // Compared by device number: the same terminal can be reached by several names
        // (a by-id link, /dev/ttyUSB0).
        // A process that also holds the master side of the same pseudo-terminal is the line's
        // far end (the simulator), not a program competing for the bytes.
        bool holds = false;
        bool far_end = false;
        for (const QString& fd : QDir(fdDir).entryList(QDir::Files | QDir::System)) {
            struct stat open {};
            const QByteArray link = (fdDir + QLatin1Char('/') + fd).toLocal8Bit();
            if (::stat(link.constData(), &open) != 0 || !S_ISCHR(open.st_mode))
                continue;
            holds = holds || open.st_rdev == device.st_rdev;
            far_end = far_end || (pseudo >= 0 && open.st_rdev == makedev(5, 2) &&
                                  Es_Su_Maestro(fdDir, fd, pseudo));
        }
        if (!holds || far_end)
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        QString name;
        if (comm.open(QIODevice::ReadOnly))
            name = QString::fromLocal8Bit(comm.readAll()).trimmed();
        holders.push_back({pid, name});
    }
    return holders;
}

QString DeviceGroup(const QByteArray& devicePath) {
    struct stat st {};
    if (devicePath.isEmpty() || ::stat(devicePath.constData(), &st) != 0)
        return {};
    // The reentrant lookups: the line's event thread may be running.
    group g{};
    group* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getgrgid_r(st.st_gid, &g, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->gr_name);
    return QString::number(st.st_gid);
}

QString UserName() {
    passwd p{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &p, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

QString SystemErrorText(int number) {
    // The GNU strerror_r: the text may be a static one rather than the buffer.
    char buffer[256] = {};
    return QString::fromLocal8Bit(::strerror_r(number, buffer, sizeof buffer));
}
