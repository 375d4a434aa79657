#pragma once
// What the windows share to write an export: the file dialog with a proposed name, and the box
// that says what could not be written.

#include <QString>

#include <functional>

class QWidget;

// "<site>.<extension>" in the home folder, the site's name made fit for a file name.
QString Fichero_Propuesto(const QString& sitio, const QString& extension);

// "<name> yyyy-MM-dd HH-mm.<extension>" in the user's data folder (made when missing): a
// window's list exported under its title and the time.
QString Fichero_Fechado(const QString& nombre, const QString& extension);

// The file the user chose, `propuesto` proposed; empty when the dialog was cancelled.
QString Pide_Fichero_En(QWidget* ventana, const QString& titulo, const QString& propuesto,
                        const QString& extension);
// The same with Fichero_Propuesto proposed.
QString Pide_Fichero_Exportacion(QWidget* ventana, const QString& titulo, const QString& sitio,
                                 const QString& extension);

// Writes the file with `escribe`, which is false with the system's reason when it could not;
// then a box over the window says what failed and what to do, and this is false.
bool Exporta(QWidget* ventana, const QString& fichero,
             const std::function<bool(const QString& fichero, QString& causa)>& escribe);

// A warning over the window, kept above it.
void Avisa_Sobre(QWidget* ventana, const QString& texto);
