#pragma once
// The decoder models, one row each, in the order of the main window's list: the reference the
// user picks, the routing code the main window keeps while that model's editor is open, the
// byte its decoder answers a query or ends a read-out with, and the editor window (registered
// when the windows are created).
//
// A new model is one row here, one in the identification texts of the link, and its editor.

#include <array>
#include <cstdint>
#include <vector>

class TF_Decoder;

struct TModelo {
    int Referencia;         // 6745
    uint8_t Codigo;         // Modelo_Activo while its editor receives the frames
    uint8_t Identificacion; // Sin_Identificacion for a device that never sends one
    int Tramas;             // data frames of one read-out (0: it sends announcements instead)

    // The editor window; null before the windows are created.
    TF_Decoder* Editor() const;
    // Position in the main window's list.
    int Posicion() const;
};

constexpr uint8_t Sin_Identificacion = 0x00;
constexpr int Numero_Modelos = 12;

const std::array<TModelo, Numero_Modelos>& Tabla_Modelos();
const TModelo* Modelo_Por_Referencia(int referencia);
const TModelo* Modelo_Por_Codigo(uint8_t codigo);
// Every model whose decoders answer with this byte, in list order (several share one).
std::vector<const TModelo*> Modelos_Por_Identificacion(uint8_t identificacion);

// Called once per editor as the windows are created, and with null as they are destroyed.
void Registra_Editor(int referencia, TF_Decoder* editor);
