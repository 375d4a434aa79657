#pragma once
// Where an installation is kept when the user has not chosen a file.

#include <QString>

// The ending of an installation's file.
inline const QString EXTENSION_INSTALACION = QStringLiteral(".kalvex");

// "installation.kalvex" in the folder of the installations (Carpeta_Instalaciones).
QString Instalacion_Por_Defecto();
