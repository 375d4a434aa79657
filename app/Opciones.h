#pragma once
// The program's command line: no argument starts the program; "--check" checks the
// installation (Comprobacion.h) and "--version" prints the name and version. Qt's own options
// (-platform, -style…) are taken out by the application object before these are read.

#include <QStringList>

class QTextStream;

enum class TOrden { Programa, Comprobacion, Version, Desconocida };

// The arguments without the program's name.
TOrden Lee_Orden(const QStringList& argumentos);

// Says which arguments were not understood and what the program takes, in the user's
// language. Returns the exit status for a command-line mistake.
int Orden_Desconocida(const QStringList& argumentos, QTextStream& salida);
