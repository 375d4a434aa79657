#pragma once
// What the user is told when a choice could not be written to the settings file: which file,
// the system's reason, and what follows from it for the choice.

#include <QString>

class QWidget;

// "The settings could not be written to <file>: <reason>.", then the consequence (if any) on a
// line of its own.
QString Aviso_Ajustes(const QString& causa, const QString& consecuencia);

// The same in a warning box over ventana (object name "Aviso_Ajustes").
void Avisa_Ajustes(QWidget* ventana, const QString& causa, const QString& consecuencia);
