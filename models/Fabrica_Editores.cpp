#include "Fabrica_Editores.h"

#include "Datos_Modelos.h"
#include "UF_Decoder_6734.h"
#include "UF_Decoder_6758.h"
#include "UF_Decoder_6759.h"
#include "UF_Decoder_6763.h"
#include "UF_Decoder_6775.h"
#include "UF_Decoder_6786.h"
#include "UF_Decoder_Llamada.h"

#include <stdexcept>
#include <string>

TF_Decoder* Crea_Editor(const TModelo& modelo, QWidget* parent) {
    switch (modelo.Familia) {
    case TFamilia::Llamada:
        return new TF_Decoder_Llamada(modelo, parent);
    case TFamilia::Panel:
        return new TF_Decoder_6763(parent);
    case TFamilia::Sensores:
        return new TF_Decoder_6758(parent);
    case TFamilia::Reles:
        return new TF_Decoder_6759(parent);
    case TFamilia::Torvik:
        return new TF_Decoder_6734(parent);
    case TFamilia::Digitalizador:
        return new TF_Decoder_6775(parent);
    case TFamilia::Conversor:
        return new TF_Decoder_6786_II(parent);
    }
    throw std::logic_error("model " + std::to_string(modelo.Referencia) + " has no editor family");
}
