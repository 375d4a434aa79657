#include "Modelos.h"

#include "UF_Decoder_6734.h"
#include "UF_Decoder_6758.h"
#include "UF_Decoder_6759.h"
#include "UF_Decoder_6763.h"
#include "UF_Decoder_6775.h"
#include "UF_Decoder_6786.h"
#include "UF_Decoder_Llamada.h"
#include "Ventanas.h"

const std::array<TModelo, 12>& Tabla_Modelos() {
    static const std::array<TModelo, 12> tabla = {{
        {6759, 1, []() -> TF_Decoder* { return Ventanas().F_Decoder_6759; }},
        {6745, 2, []() -> TF_Decoder* { return Ventanas().F_Decoder_6745; }},
        {6746, 3, []() -> TF_Decoder* { return Ventanas().F_Decoder_6746; }},
        {6747, 4, []() -> TF_Decoder* { return Ventanas().F_Decoder_6747; }},
        {6721, 5, []() -> TF_Decoder* { return Ventanas().F_Decoder_6721; }},
        {6722, 6, []() -> TF_Decoder* { return Ventanas().F_Decoder_6722; }},
        {6763, 7, []() -> TF_Decoder* { return Ventanas().F_Decoder_6763; }},
        {6734, 8, []() -> TF_Decoder* { return Ventanas().F_Decoder_6734; }},
        {6758, 9, []() -> TF_Decoder* { return Ventanas().F_Decoder_6758; }},
        {6713, 10, []() -> TF_Decoder* { return Ventanas().F_Decoder_6713; }},
        {6775, 11, []() -> TF_Decoder* { return Ventanas().F_Decoder_6775; }},
        {6786, 12, []() -> TF_Decoder* { return Ventanas().F_Decoder_6786_II; }},
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
