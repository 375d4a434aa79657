#pragma once
// Named labels, and the program's headings: bold labels in the program's blue (or another colour),
// their size a multiple of the window's font, so they grow with the user's font settings.

#include <QString>

class QLabel;
class QWidget;

inline const QString Azul_Kalvex = QStringLiteral("#1f3fa0");

// A label with its object name, the name code and tests reach it by.
QLabel* Crea_Etiqueta(const QString& nombre, const QString& texto, QWidget* parent);

QLabel* Crea_Rotulo(const QString& nombre, const QString& texto, double escala, QWidget* parent,
                    const QString& color = Azul_Kalvex);
