#include "UF_Decoder_Llamada.h"

namespace {

constexpr Trama_Dec Cierre_Llamada{0x50, 0x20, 0xFF, 0x9F};

// The four-output editors name their output numbers Label6… (Current) and Label22… (New);
// with eight outputs those names would meet the prompt's and the model label's.
TDatos_Codigos Cuatro(const char* referencia, bool foco) {
    return {{QString::fromLatin1(referencia), Cierre_Llamada, QStringLiteral("decoder4.png")},
            4,
            4,
            {},
            foco,
            6,
            22};
}

TDatos_Codigos Ocho(const char* referencia) {
    return {{QString::fromLatin1(referencia), Cierre_Llamada, QStringLiteral("decoder8.png")},
            8,
            4,
            {},
            true,
            0,
            0};
}

} // namespace

TF_Decoder_6745::TF_Decoder_6745(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6745"), Cuatro("6745", true), parent) {}

TF_Decoder_6713::TF_Decoder_6713(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6713"), Cuatro("6713", true), parent) {}

TF_Decoder_6747::TF_Decoder_6747(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6747"), Cuatro("6747", false), parent) {}

TF_Decoder_6721::TF_Decoder_6721(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6721"), Cuatro("6721", false), parent) {}

TF_Decoder_6746::TF_Decoder_6746(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6746"), Ocho("6746"), parent) {}

TF_Decoder_6722::TF_Decoder_6722(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6722"), Ocho("6722"), parent) {}
