#include "Modelos.h"

#include "Ventanas.h"

const std::array<TModelo, 12>& Tabla_Modelos() {
    static const std::array<TModelo, 12> tabla = {{
        {6759, 1, nullptr},
        {6745, 2, nullptr},
        {6746, 3, nullptr},
        {6747, 4, nullptr},
        {6721, 5, nullptr},
        {6722, 6, nullptr},
        {6763, 7, nullptr},
        {6734, 8, nullptr},
        {6758, 9, nullptr},
        {6713, 10, nullptr},
        {6775, 11, nullptr},
        {6786, 12, nullptr},
    }};
    return tabla;
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
