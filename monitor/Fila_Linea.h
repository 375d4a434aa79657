#pragma once
// One row of the monitor and the line log: what the link reported, when, and the routing
// state at that moment (which editor took the decoder's frames, and at which position), which
// is all a frame's meaning needs later. Small, so that 100,000 of them stay cheap.

#include "Observador_Linea.h"

#include <QtGlobal>

#include <cstdint>

struct TFila_Linea {
    qint64 Hora_ms = 0; // wall clock, milliseconds since the epoch
    TSuceso_Linea Suceso;
    uint8_t Modelo = 0; // Modelo_Activo
    uint8_t Salida = 0; // Salida_Actual
};
