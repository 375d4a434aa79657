#include "PortDiagnosis.h"

#include <QDir>
#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<PortHolder> PortHolders(const QByteArray& devicePath) {
    std::vector<PortHolder> holders;
    struct stat device {};
    if (devicePath.isEmpty() || ::stat(devicePath.constData(), &device) != 0 ||
        !S_ISCHR(device.st_mode))
        return holders;
    const qint64 self = ::getpid();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == self)
            continue;
        const QString fdDir = QStringLiteral("/proc/%1/fd").arg(pid);
        // Compared by device number: the same terminal can be reached by several names
        // (a by-id link, /dev/ttyUSB0).
        bool holds = false;
        for (const QString& fd : QDir(fdDir).entryList(QDir::Files | QDir::System)) {
            struct stat open {};
            const QByteArray link = (fdDir + QLatin1Char('/') + fd).toLocal8Bit();
            if (::stat(link.constData(), &open) == 0 && S_ISCHR(open.st_mode) &&
                open.st_rdev == device.st_rdev) {
                holds = true;
                break;
            }
        }
        if (!holds)
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
    if (const group* g = ::getgrgid(st.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(st.st_gid);
}

QString UserName() {
    if (const passwd* p = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(p->pw_name);
    return qEnvironmentVariable("USER");
}
