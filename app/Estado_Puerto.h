#pragma once
// What the installer is told about the serial port, in the user's language: why it would not
// open and what to do about it, and the line's state for the main window's status line.

#include <QString>

#include <vector>

class ESerialLine;
class TCustomSerialLine;
struct PortHolder;

// No device path is longer: a stored name that is longer is no port at all, and a megabyte of
// name laid out in a message box or the status line would hold the window up for seconds.
constexpr qsizetype Mayor_Nombre_Puerto = 255;
bool Nombre_Puerto_Excesivo(const QString& puerto);
// Why such a name was not opened, with the devices present to choose from instead.
QString Explica_Nombre_Excesivo(const QString& puerto);
// The cause alone, for the status line.
QString Causa_Nombre_Excesivo(const QString& puerto);

// The port's error message (its first line unchanged), followed by the device and the cause
// with its fix.
QString Explica_Fallo_Apertura(const ESerialLine& error, const QString& puerto);
// The cause alone, short, for the status line.
QString Causa_Fallo_Apertura(const ESerialLine& error, const QString& puerto);

// "COM1 — /dev/ttyS0", the adapter's description, or the path; the beginning of a name longer
// than any port.
QString Rotulo_Puerto(const QString& puerto);

// The warning for another program that has the open device too.
QString Aviso_Compartido(const std::vector<PortHolder>& otros);

// The whole status line: the port, then its state ("open — 9600 8-O-2", "not open: …",
// "adapter unplugged — waiting for it", "open again — …"), low latency for an adapter, and
// another program that shares the device. causa is the cause of a failed open, otros the
// programs sharing the device.
QString Linea_Estado(const TCustomSerialLine& linea, const QString& puerto, const QString& causa,
                     const std::vector<PortHolder>& otros);
