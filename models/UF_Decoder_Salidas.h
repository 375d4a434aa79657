#pragma once
// The sensors (6758) and relays (6759) editors: eight outputs, each a three-digit code behind
// the model's class nibble, a time and a third setting chosen from two items (time unit or
// initial state). Output n is row n of the grid, with a code, a time and a setting in each
// column.

#include "UF_Decoder.h"

class QComboBox;

struct TDatos_Salidas {
    TModelo_Editor Modelo;
    QString Clave_Ajuste; // heading of the setting column
    int Tiempo_Maximo;    // largest time the time byte can hold as typed
};

class TF_Decoder_Salidas : public TF_Decoder {
    Q_OBJECT
public:
    void Inicializa_Valores() override;
    void Inicializa_Valores_Solo_Nuevos();

    static constexpr int Salidas = 8;

protected:
    TF_Decoder_Salidas(const QString& nombre, const TDatos_Salidas& datos, QWidget* parent);

    int Valores() const override { return Salidas; }
    // The class nibble of every code word, from the model's device-code type: "A" or "B".
    QString Prefijo() const { return Letra_Codigo(Fila().Tipo_Codigo); }
    void Pon_Valor(int k, const Trama_Dec& FTResul) override;
    bool Decoder_Vacio() const override;
    void T_Estado_TiempoInicialTimer() override;
    bool Comienza_Grabacion() override;
    void Comprueba_Nuevos() override;
    void Rellena_TODOS_CEROS_IZ() override;
    bool Graba() override;
    QList<TCodigo_Registro> Codigos_Registro(TLado lado) const override;
    void Aplica_Textos() override;

    // Reads the time and setting of output n, which has a current code, into both columns.
    virtual void Lee_Ajuste(int n) = 0;
    // Writes the time and setting of output n once its code was accepted.
    virtual bool Escribe_Ajuste(int n) = 0;
    // Shows on B_IniState what the toggle did: the item it set, or -1 for a cleared column.
    virtual void Pon_Boton(int puesto) = 0;

    void BitBtn1Click();
    void BitBtn3Click();
    void B_IniStateClick();

    // Output n's controls (1 … 8), in the Current or the New column.
    QLineEdit* Codigo(int n, TLado lado) const;
    QLineEdit* Tiempo(int n, TLado lado) const;
    QComboBox* Ajuste(int n, TLado lado) const;
    QString Codigo_Actual(int n) const;
    QString Codigo_Nuevo(int n) const;
    QString Tiempo_Nuevo(int n) const;
    // The item's text, as the selectors are compared and set by their displayed text.
    static bool Muestra(const QComboBox* combo, int item);

    QPushButton* BitBtn1;
    QPushButton* BitBtn3;
    QPushButton* B_IniState;

private:
    // Empties the codes, times and settings of one column.
    void Vacia(TLado lado);

    TDatos_Salidas datos_;
};
