#pragma once
// Where the frames a decoder sends on its own go: the main window routes them to the editor
// that Abre_Editor opened, which takes them through the read-out. One state for the whole
// program.

#include "Lectura_Decoder.h"
#include "Modelos.h"

#include <cstdint>
#include <functional>

struct TEnrutado {
    // The model whose editor receives the decoder's frames (0 = none).
    uint8_t Modelo_Activo = 0;
    // The read-out that editor is taking (the position of its next data frame among them).
    TLectura_Decoder Lectura;
    // Set while a survey runs: it takes every such frame (it reads decoders out without an
    // editor), and no editor can be opened.
    std::function<void(const Trama_Dec&)> Sondeo;
};

TEnrutado& Enrutado();

// How the model's decoders send their read-out.
inline TForma_Lectura Forma_Lectura(const TModelo& modelo) {
    return {modelo.Identificacion, modelo.Tramas};
}
