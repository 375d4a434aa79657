#pragma once
// Writing a file (an export, a report, a decoder's configuration, the settings) whole or not at
// all: into a temporary file beside the target, renamed over it only when every byte was
// written and the disk said it keeps them, so a full disk, a failing one or a vanished folder
// never leaves a truncated file where a good one was. The writes go through Disco().

#include <QByteArray>
#include <QString>

// False when the file could not be written whole, with the system's reason in causa; the
// target is then as it was.
bool Guarda_Fichero(const QString& fichero, const QByteArray& contenido, QString& causa);
