#pragma once
// The relays decoder: per output a code behind the class nibble B, a time byte (a plain count)
// and an initial state (ON/OFF), time and state written by one frame.

#include "UF_Decoder_Salidas.h"

class TF_Decoder_6759 : public TF_Decoder_Salidas {
    Q_OBJECT
public:
    explicit TF_Decoder_6759(QWidget* parent = nullptr);

protected:
    void Lee_Ajuste(int n) override;
    void T_Estado_TiempoInicialTimer() override;
    bool Escribe_Ajuste(int n) override;
    void Pon_Boton(int puesto) override;

    // Hidden pictures that B_IniState takes: the next click sets ON (I_Yes) or OFF (I_No).
    QLabel* I_Yes;
    QLabel* I_No;
};
