#pragma once
// The twelve decoder models: the reference the user picks, the routing code the main window
// keeps while that model's editor is open, and the editor window.

#include <array>
#include <cstdint>

class TF_Decoder;

struct TModelo {
    int Referencia;          // 6745
    uint8_t Codigo;          // Modelo_Activo while its editor receives the frames
    TF_Decoder* (*Editor)(); // the editor window
};

const std::array<TModelo, 12>& Tabla_Modelos();
const TModelo* Modelo_Por_Referencia(int referencia);
const TModelo* Modelo_Por_Codigo(uint8_t codigo);
