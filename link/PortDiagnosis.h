#pragma once
// What the system can tell about a serial device that would not open, or that another program
// shares: who holds it and which group may use it. One source per operating system; where the
// system does not tell (Windows names neither holders nor groups), the answers are empty.

#include <QByteArray>
#include <QString>

#include <vector>

struct PortHolder {
    qint64 pid = 0;
    QString name; // the program's name as the system keeps it
};

// The other processes that have the device open (this one left out), found by looking through
// every process's open files in /proc; processes the caller may not look into are missed.
std::vector<PortHolder> PortHolders(const QByteArray& devicePath);

// The group that owns the device ("dialout" for most serial ports), empty when unknown.
QString DeviceGroup(const QByteArray& devicePath);

// The name of the user running the program.
QString UserName();

// The system's own text for one of its error numbers, in the system's language.
QString SystemErrorText(int number);
