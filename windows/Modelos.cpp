#include "Modelos.h"

namespace {

std::array<TF_Decoder*, Numero_Modelos>& Editores() {
    static std::array<TF_Decoder*, Numero_Modelos> editores{};
    return editores;
}

} // namespace

const std::array<TModelo, Numero_Modelos>& Tabla_Modelos() {
    static const std::array<TModelo, Numero_Modelos> tabla = {{
        {6713, 10, 0x44, 4},
        {6721, 5, 0x34, 4},
        {6722, 6, 0x38, 8},
        {6734, 8, 0x44, 4},
        {6745, 2, 0x44, 4},
        {6746, 3, 0x48, 8},
        {6747, 4, 0x54, 4},
        {6758, 9, 0x18, 8},
        {6759, 1, 0x28, 8},
        {6763, 7, 0x64, 4},
        {6775, 11, Sin_Identificacion, 0},
        {6786, 12, 0x31, 1},
    }};
    return tabla;
}

int TModelo::Posicion() const {
    return static_cast<int>(this - Tabla_Modelos().data());
}

TF_Decoder* TModelo::Editor() const {
    return Editores()[static_cast<std::size_t>(Posicion())];
}

const TModelo* Modelo_Por_Referencia(int referencia) {
    for (const TModelo& m : Tabla_Modelos())
        if (m.Referencia == referencia)
            return &m;
    return nullptr;
}

const TModelo* Modelo_Por_Codigo(uint8_t codigo) {
    for (const TModelo& m : Tabla_Modelos())
        if (m.Codigo == codigo)
            return &m;
    return nullptr;
}

std::vector<const TModelo*> Modelos_Por_Identificacion(uint8_t identificacion) {
    std::vector<const TModelo*> modelos;
    if (identificacion == Sin_Identificacion)
        return modelos;
    for (const TModelo& m : Tabla_Modelos())
        if (m.Identificacion == identificacion)
            modelos.push_back(&m);
    return modelos;
}

void Registra_Editor(int referencia, TF_Decoder* editor) {
    if (const TModelo* m = Modelo_Por_Referencia(referencia))
        Editores()[static_cast<std::size_t>(m->Posicion())] = editor;
}
