#pragma once
// The call decoders: four outputs (6745, 6713, 6747, 6721) or eight (6746, 6722), each output
// one code of four decimal digits. They differ only in their model data.

#include "UF_Decoder_Codigos.h"

class TF_Decoder_6745 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6745(QWidget* parent = nullptr);
};

class TF_Decoder_6713 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6713(QWidget* parent = nullptr);
};

class TF_Decoder_6747 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6747(QWidget* parent = nullptr);
};

class TF_Decoder_6721 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6721(QWidget* parent = nullptr);
};

class TF_Decoder_6746 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6746(QWidget* parent = nullptr);
};

class TF_Decoder_6722 : public TF_Decoder_Codigos {
    Q_OBJECT
public:
    explicit TF_Decoder_6722(QWidget* parent = nullptr);
};
