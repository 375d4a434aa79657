#pragma once
// kalvex --check: whether this installation gives the program its texts and its help page.
// It creates every window as a start does (the installation record opens as usual), with the
// serial line left closed, and notes every text they asked the language file for in vain; then
// it loads the help page of the language chosen. No window is shown.

class QTextStream;

// Writes what was found (the language file, the help page, the keys without a text) and
// returns the exit status: 0 when every text and the help page were found, 1 otherwise.
int Comprueba_Instalacion(QTextStream& salida);
