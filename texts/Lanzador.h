#pragma once
// Starting programs outside Kalvex. Nothing here waits for them or reports a failure to
// start: a missing browser or information program simply does nothing.

#include <QString>

inline const QString EMPRESA_FABRICANTE = QStringLiteral("Kalvex Systems");
inline const QString WEB_FABRICANTE = QStringLiteral("https://www.kalvex.example");

// The maker's web site in the user's browser.
void Abre_Web();

// The first system-information program found on the PATH (see the .cpp for the list).
void Lanza_Info_Sistema();
