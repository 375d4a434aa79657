#pragma once
// A row as text, column by column: for the monitor's view, for copying and saving the rows,
// and for the line log.

#include "Fila_Linea.h"
#include "Textos_Monitor.h"

#include <QString>
#include <QStringList>

enum class TColumna { Hora, Intervalo, Sentido, Bytes, Significado, Cuantas };

// anterior: the row before it, for the milliseconds since then (null: none, left empty).
QString Texto_Columna(TColumna columna, const TFila_Linea& fila, const TFila_Linea* anterior,
                      const TTextos_Monitor& textos);
QStringList Textos_Fila(const TFila_Linea& fila, const TFila_Linea* anterior,
                        const TTextos_Monitor& textos);
QString Titulo_Columna(TColumna columna, const TTextos_Monitor& textos);

// Columns separated by tabs.
QString Linea_Texto(const QStringList& columnas);
