#pragma once
// The panel decoder: four outputs, each a three-digit code stored behind the class nibble D.

#include "UF_Decoder_Codigos.h"

class TF_Decoder_6763 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6763(QWidget* parent = nullptr);
};
