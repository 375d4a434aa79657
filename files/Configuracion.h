#pragma once
// The program-wide values and the settings file KALVEX.INI in the configuration folder.

#include <QString>

inline const QString VERSION_APP = QStringLiteral("3.3");

// Name of the serial port ("COM1" … "COM4", or a device path).
extern QString Sys_Port;
// Current language: the section of the language file that supplies every text. Empty until
// the settings are loaded.
extern QString Idioma;

// The settings file itself.
QString Fichero_Ajustes();

// Reads Sys_Port and Idioma from section "General" ("COM1" and "ENGLISH" when a key is
// missing; a key present but empty gives the empty text).
void Lee_Configuracion();
// Writes both values in one replacement of the file. False, with the system's reason in causa,
// when the file could not be written; it is then as it was, and the program carries on with
// the values in memory.
bool Guarda_Configuracion(QString& causa);
// Whether the file gives the values in memory, as the next start would read them: when it
// does, a write that failed lost nothing.
bool Configuracion_Guardada();

// File ▸ Line log (key "Line_Log" of section "General"): off unless the file says 1.
bool Lee_Registro_Linea();
bool Guarda_Registro_Linea(bool activo, QString& causa);

// The editors' "Read back after Save" (key "Read_Back" of section "General"): on unless the
// file says 0.
bool Lee_Relectura();
bool Guarda_Relectura(bool activa, QString& causa);

// "Kalvex 3.3", the title of the program's windows.
QString Titulo_Kalvex();
// "Kalvex 3.3 — Devices Test": the title of a window that tells what it is, so windows can be
// told apart in the task bar.
QString Titulo_Kalvex(const QString& ventana);
