#pragma once
// Where the program's files live: the user's configuration folder and the installed data
// folder next to the program. One source per operating system (Carpetas_posix.cpp,
// Carpetas_win.cpp) says where they are there.

#include <QString>

// $KALVEX_CONFIG_DIR, else $XDG_CONFIG_HOME/kalvex, else ~/.config/kalvex; on Windows
// %APPDATA%\Kalvex, into which the first start copies a KALVEX.INI left in the Windows folder
// by an earlier installation. Not created here otherwise: the first write of a file creates it.
QString Carpeta_Configuracion();

// Where the program keeps the user's data (installation records, line logs):
// $KALVEX_DATA_DIR, else $XDG_DATA_HOME/kalvex, else ~/.local/share/kalvex; on Windows
// %LOCALAPPDATA%\Kalvex. Not created here.
QString Carpeta_Datos_Usuario();

// <program folder>/../share/kalvex, where the build and the installation put the language
// file and the help pages; on Windows the program's own folder.
QString Carpeta_Datos();

// The file in the configuration folder when it is there, else the one in the data folder
// (which may not exist either).
QString Busca_Fichero(const QString& nombre);
