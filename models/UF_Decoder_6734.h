#pragma once
// The Torvik decoder: a range of addresses (start and end, four decimal digits each, the end
// at most 199 above the start) and whether it is programmed by the Quendal entrance.

#include "UF_Decoder.h"

class QCheckBox;

class TF_Decoder_6734 : public TF_Decoder {
    Q_OBJECT
public:
    explicit TF_Decoder_6734(QWidget* parent = nullptr);

    void Inicializa_Valores() override;

protected:
    int Valores() const override { return 4; }
    void Pon_Valor(int k, const Trama_Dec& FTResul) override;
    bool Decoder_Vacio() const override;
    void T_Estado_TiempoInicialTimer() override;
    void B_SaveClick() override;
    // True when the New addresses may not be written: one without the other, or an end
    // below the start or more than 199 above it.
    bool Comprueba_Rango() const;
    void Comprueba_Nuevos() override;
    void Rellena_TODOS_CEROS_IZ() override;
    bool Graba() override;
    QList<TCodigo_Registro> Codigos_Registro(TLado lado) const override;
    void Informa_Grabacion(bool todo_aceptado) override;

    QCheckBox* C1; // New: programmed by the entrance
    QCheckBox* C2; // Current
};
