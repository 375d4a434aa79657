#pragma once
// Starting programs outside Kalvex. Nothing here waits for them; when nothing could be
// started, a message says what was tried.

#include <QString>

class QUrl;

inline const QString EMPRESA_FABRICANTE = QStringLiteral("Kalvex Systems");
inline const QString WEB_FABRICANTE = QStringLiteral("https://www.kalvex.example");

// A web address in the user's browser; false (after the message) when none could be started.
bool Abre_Direccion(const QUrl& direccion);

// The maker's web site in the user's browser.
bool Abre_Web();

// The first system-information program found on the PATH (see the .cpp for the list).
bool Lanza_Info_Sistema();
