#include "UF_Decoder_6763.h"

TF_Decoder_6763::TF_Decoder_6763(QWidget* parent)
    : TF_Decoder_Codigos(
          QStringLiteral("F_Decoder_6763"),
          {{QStringLiteral("6763"), {0x50, 0x20, 0xFF, 0xDF}, QStringLiteral("panel.png")},
           4,
           3,
           QStringLiteral("D"),
           true,
           6,
           22},
          parent) {}
