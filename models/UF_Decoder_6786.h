#pragma once
// The address converter: one value, its address on the Quendal bus. Every data frame replaces
// the value; an empty address is the code 8F00; Save reports only a failure.

#include "UF_Decoder.h"

class TF_Decoder_6786_II : public TF_Decoder {
    Q_OBJECT
public:
    explicit TF_Decoder_6786_II(QWidget* parent = nullptr);

    void Inicializa_Valores() override;

protected:
    int Valores() const override { return 1; }
    void Pon_Valor(int k, const Trama_Dec& FTResul) override;
    void T_Estado_TiempoInicialTimer() override;
    bool Decoder_Vacio() const override;
    void Comprueba_Nuevos() override;
    void Rellena_TODOS_CEROS_IZ() override;
    bool Graba() override;
    QList<TCodigo_Registro> Codigos_Registro(TLado lado) const override;
    void Informa_Grabacion(bool todo_aceptado) override;
};
