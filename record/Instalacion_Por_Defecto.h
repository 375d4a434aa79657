#pragma once
// Where an installation is kept when the user has not chosen a file.

#include <QString>

// The ending of an installation's file.
inline const QString EXTENSION_INSTALACION = QStringLiteral(".kalvex");

// $KALVEX_DATA_DIR, else $XDG_DATA_HOME/kalvex, else ~/.local/share/kalvex. Not created here.
QString Carpeta_Instalaciones();
// "installation.kalvex" in that folder.
QString Instalacion_Por_Defecto();
