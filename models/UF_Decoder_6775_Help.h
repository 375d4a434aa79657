#pragma once
// The digitizer's help window: what each of the three minimum-time choices means.

#include "UVentana_Kalvex.h"

class QLabel;

class TF_Decoder_6775_Help : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Decoder_6775_Help(QWidget* parent = nullptr);

    // The editor puts its model label here before each showing.
    QLabel* Label14;
};
