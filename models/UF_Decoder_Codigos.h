#pragma once
// Editors whose decoder holds one code per output and nothing else: the call decoders (four
// decimal digits) and the panel decoder (three digits behind its class nibble). Output k is
// row k of the grid, one code in each column.

#include "UF_Decoder.h"

// The number of outputs (its read-out's frames), the class nibble (its device-code type) and
// whether the focus returns to Edit1 once Save has reported come from the model's row.
struct TDatos_Codigos {
    TModelo_Editor Modelo;
    int Ancho;                // digits of a code as the installer types it
    int Primer_Numero_Actual; // object names of the output numbers: Label<first>…; 0: unnamed
    int Primer_Numero_Nuevo;
};

class TF_Decoder_Codigos : public TF_Decoder {
    Q_OBJECT
public:
    void Inicializa_Valores() override;
    void Inicializa_Valores_Solo_Nuevos();

protected:
    TF_Decoder_Codigos(const QString& nombre, const TDatos_Codigos& datos, QWidget* parent);

    int Valores() const override { return salidas_; }
    void Pon_Valor(int k, const Trama_Dec& FTResul) override;
    bool Decoder_Vacio() const override;
    bool Comienza_Grabacion() override;
    void Comprueba_Nuevos() override;
    void Rellena_TODOS_CEROS_IZ() override;
    bool Graba() override;
    QList<TCodigo_Registro> Codigos_Registro(TLado lado) const override;
    void Informa_Grabacion(bool todo_aceptado) override;

    void BitBtn1Click();
    void BitBtn3Click();

    QPushButton* BitBtn1;
    QPushButton* BitBtn3;

private:
    // Output k's code (1 … N), in the Current or the New column.
    QLineEdit* Codigo(int k, TLado lado) const;
    QString Nuevo(int k) const;

    TDatos_Codigos datos_;
    int salidas_;     // N
    QString prefijo_; // class nibble written before the digits; empty: none
};
