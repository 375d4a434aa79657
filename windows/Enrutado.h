#pragma once
// Where the frames a decoder sends on its own go: the main window routes them, the editors and
// the service windows start and end a read-out. One state for the whole program.

#include <cstdint>

struct TEnrutado {
    // The model whose editor receives the decoder's frames (0 = none).
    uint8_t Modelo_Activo = 0;
    // The position of the next data frame within a read-out.
    uint8_t Salida_Actual = 0;
};

TEnrutado& Enrutado();
