#pragma once
// Where the program's files live: the user's configuration folder, the folder of what it
// records (installations), and the installed data folder next to the program.

#include <QString>

// $KALVEX_CONFIG_DIR, else $XDG_CONFIG_HOME/kalvex, else ~/.config/kalvex. Not created here:
// the first write of a file creates it.
QString Carpeta_Configuracion();

// $KALVEX_DATA_DIR, else $XDG_DATA_HOME/kalvex, else ~/.local/share/kalvex: the installations
// and what else the program keeps for the user. Not created here.
QString Carpeta_Instalaciones();

// <program folder>/../share/kalvex, where the build and the installation put the language
// file and the help pages.
QString Carpeta_Datos();

// The file in the configuration folder when it is there, else the one in the data folder
// (which may not exist either).
QString Busca_Fichero(const QString& nombre);
