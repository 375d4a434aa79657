#pragma once
// Where an installation is kept when the user has not chosen a file.

#include <QString>

// The ending of an installation's file.
inline const QString EXTENSION_INSTALACION = QStringLiteral(".kalvex");

// The user's data folder (Carpeta_Datos_Usuario). Not created here.
QString Carpeta_Instalaciones();
// "installation.kalvex" in that folder.
QString Instalacion_Por_Defecto();
