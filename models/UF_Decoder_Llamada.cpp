#include "UF_Decoder_Llamada.h"

namespace {

constexpr int Ancho = 4;

// The four-output editors name their output numbers Label6… (Current) and Label22… (New);
// with eight outputs those names would meet the prompt's and the model label's.
TDatos_Codigos Datos(const TModelo& modelo) {
    const bool cuatro = modelo.Tramas <= 4;
    return {{QString::number(modelo.Referencia),
             cuatro ? QStringLiteral("decoder4.png") : QStringLiteral("decoder8.png")},
            Ancho,
            cuatro ? 6 : 0,
            cuatro ? 22 : 0};
}

} // namespace

TF_Decoder_Llamada::TF_Decoder_Llamada(const TModelo& modelo, QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_%1").arg(modelo.Referencia), Datos(modelo),
                         parent) {}
