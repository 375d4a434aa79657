#pragma once
// The sensors decoder: per output a code behind the class nibble A, and a time byte whose
// bit 7 is the unit (minutes) and bits 0-6 the count. After a good Save each coded sensor is
// armed, and a window that saved sends a second closing frame.

#include "UF_Decoder_Salidas.h"

class TF_Decoder_6758 : public TF_Decoder_Salidas {
    Q_OBJECT
public:
    explicit TF_Decoder_6758(QWidget* parent = nullptr);

    void Inicializa_Valores() override;
    void setVisible(bool visible) override;

    // Arms every output with a New code, all attempted; true when each was acknowledged.
    bool Arma_Sensores();

protected:
    void Lee_Ajuste(int n) override;
    bool Escribe_Ajuste(int n) override;
    void Pon_Boton(int puesto) override;
    bool Graba() override;
    void Envia_Cierre() override;

private:
    void Llena_Unidades();

    // A Save was started since the window was shown or the last read-out began.
    bool Grabado = false;
};
