#pragma once
// The message for a file that could not be written whole (Guarda_Fichero), in the user's
// language: what, why, and what to do about it.

#include <QString>

QString Aviso_Escritura(const QString& fichero, const QString& causa);
