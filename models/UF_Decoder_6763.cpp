#include "UF_Decoder_6763.h"

TF_Decoder_6763::TF_Decoder_6763(QWidget* parent)
    : TF_Decoder_Codigos(QStringLiteral("F_Decoder_6763"),
                         {{QStringLiteral("6763"), QStringLiteral("panel.png")}, 3, 6, 22},
                         parent) {}
