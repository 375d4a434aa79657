#pragma once
// The call decoders: four outputs (6745, 6713, 6747, 6721) or eight (6746, 6722), each output
// one code of four decimal digits. One window per model, made from its row of the model table:
// the number of outputs is its read-out's length, and its object name "F_Decoder_<reference>".

#include "UF_Decoder_Codigos.h"

class TF_Decoder_Llamada : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_Llamada(const TModelo& modelo, QWidget* parent = nullptr);
};
