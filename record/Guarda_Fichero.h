#pragma once
// Writing an export whole or not at all: into a temporary file beside the target, renamed over
// it only when every byte was written, so a full disk or a vanished folder never leaves a
// truncated report where a good one was.

#include <QString>

#include <functional>

class QIODevice;

// escribe writes the contents and returns false when it could not. On failure the target is
// as it was and causa holds the system's reason.
bool Guarda_Fichero(const QString& fichero, const std::function<bool(QIODevice&)>& escribe,
                    QString& causa);
