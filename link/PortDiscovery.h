#pragma once
// The serial devices present on this machine, in the order an installer looks for them. One
// source per operating system: on POSIX, USB adapters by their stable name in
// /dev/serial/by-id, then USB devices without one, then the built-in ports that have a real
// UART behind them; on Windows, the COM ports the registry lists, named as the Device Manager
// names them.

#include <QString>

#include <vector>

struct PresentPort {
    QString path;        // what to open: the by-id link when there is one; "COM5" on Windows
    QString kernelName;  // "ttyUSB0", "COM5"
    QString description; // the adapter's own product text, empty when it gives none
    QString label;       // "FT232R USB UART — ttyUSB0", "USB Serial Port (COM5)", or the path
};

// Lists the devices present. The folder named by KALVEX_DEVICE_ROOT, when set (tests only),
// stands for / and is read instead of the machine's /dev and /sys.
std::vector<PresentPort> PresentPorts();

// The present port that the name or path leads to (a by-id link, /dev/ttyUSB0 or COM1), or
// nothing when no present device matches.
const PresentPort* FindPresentPort(const std::vector<PresentPort>& ports, const QString& port);

// Whether two port names are the same port: the same name, or paths that lead to the same
// device (a by-id link and /dev/ttyUSB0; COM1 and /dev/ttyS0).
bool SamePort(const QString& a, const QString& b);

// The port as the installer knows it: "COM1 — /dev/ttyS0", the adapter's description, or the
// name itself.
QString PortLabel(const QString& port);
